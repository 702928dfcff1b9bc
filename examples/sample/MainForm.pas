unit MainForm;

{ The main window of the customer book: a list of customers on the left,
  the selected customer's details on the right, a search box on top. }

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, ExtCtrls, Menus, Customers;

type
  TfrmMain = class(TForm)
    plTop: TPanel;
    edSearch: TEdit;
    btnSearch: TButton;
    lbCustomers: TListBox;
    plDetails: TPanel;
    lblName: TLabel;
    edName: TEdit;
    lblCity: TLabel;
    edCity: TEdit;
    btnSave: TButton;
    btnDelete: TButton;
    MainMenu1: TMainMenu;
    miFile: TMenuItem;
    miExit: TMenuItem;
    procedure FormCreate(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure btnSearchClick(Sender: TObject);
    procedure lbCustomersClick(Sender: TObject);
    procedure btnSaveClick(Sender: TObject);
    procedure btnDeleteClick(Sender: TObject);
    procedure miExitClick(Sender: TObject);
    procedure edSearchKeyPress(Sender: TObject; var Key: Char);
  private
    FBook: TCustomerBook;
    FModified: Boolean;
    procedure ShowCustomer(Index: Integer);
    procedure FillList(const Prefix: string);
    function SelectedCustomer: TCustomer;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    property Modified: Boolean read FModified;
  end;

  TAboutInfo = class
  public
    class function Version: string;
    class function Copyright: string;
  end;

var
  frmMain: TfrmMain;

function FormatCaption(const Title: string; Count: Integer): string;

implementation

{$R *.DFM}

uses
  TextUtils;

function FormatCaption(const Title: string; Count: Integer): string;
begin
  Result := Format('%s (%d)', [Title, Count]);
end;

constructor TfrmMain.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FBook := TCustomerBook.Create;
end;

destructor TfrmMain.Destroy;
begin
  FBook.Free;
  inherited Destroy;
end;

procedure TfrmMain.FormCreate(Sender: TObject);
begin
  FBook.LoadFromFile(ChangeFileExt(Application.ExeName, '.csv'));
  FillList('');
  Caption := FormatCaption('Customer Book', FBook.Count);
end;

procedure TfrmMain.FormDestroy(Sender: TObject);
begin
  if FModified then
    FBook.SaveToFile(ChangeFileExt(Application.ExeName, '.csv'));
end;

procedure TfrmMain.FillList(const Prefix: string);
var
  I: Integer;
begin
  lbCustomers.Items.BeginUpdate;
  try
    lbCustomers.Items.Clear;
    for I := 0 to FBook.Count - 1 do
      if StartsWithText(FBook[I].Name, Prefix) then
        lbCustomers.Items.AddObject(FBook[I].Name, FBook[I]);
  finally
    lbCustomers.Items.EndUpdate;
  end;
end;

function TfrmMain.SelectedCustomer: TCustomer;
begin
  if lbCustomers.ItemIndex < 0 then
    Result := nil
  else
    Result := TCustomer(lbCustomers.Items.Objects[lbCustomers.ItemIndex]);
end;

procedure TfrmMain.ShowCustomer(Index: Integer);
var
  Customer: TCustomer;
begin
  Customer := FBook[Index];
  edName.Text := Customer.Name;
  edCity.Text := Customer.City;
end;

procedure TfrmMain.btnSearchClick(Sender: TObject);
begin
  FillList(Trim(edSearch.Text));
end;

procedure TfrmMain.lbCustomersClick(Sender: TObject);
begin
  if SelectedCustomer <> nil then
    ShowCustomer(FBook.IndexOf(SelectedCustomer));
end;

procedure TfrmMain.btnSaveClick(Sender: TObject);
var
  Customer: TCustomer;
begin
  Customer := SelectedCustomer;
  if Customer = nil then
    Customer := FBook.Add(edName.Text);
  Customer.Name := edName.Text;
  Customer.City := edCity.Text;
  FModified := True;
  FillList(Trim(edSearch.Text));
end;

procedure TfrmMain.btnDeleteClick(Sender: TObject);
begin
  if (SelectedCustomer <> nil) and
     (MessageDlg('Delete this customer?', mtConfirmation, [mbYes, mbNo], 0) = mrYes) then
  begin
    FBook.Remove(SelectedCustomer);
    FModified := True;
    FillList(Trim(edSearch.Text));
  end;
end;

procedure TfrmMain.miExitClick(Sender: TObject);
begin
  Close;
end;

procedure TfrmMain.edSearchKeyPress(Sender: TObject; var Key: Char);
begin
  if Key = #13 then
  begin
    Key := #0;
    btnSearchClick(Sender);
  end;
end;

class function TAboutInfo.Version: string;
begin
  Result := '1.2';
end;

class function TAboutInfo.Copyright: string;
begin
  Result := 'Customer Book, 1998';
end;

end.
