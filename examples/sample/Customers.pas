unit Customers;

{ The customers and the book that keeps them, loaded from and saved to a
  semicolon-separated file. }

interface

uses
  SysUtils, Classes;

type
  ECustomerError = class(Exception);

  TCustomer = class(TObject)
  private
    FName: string;
    FCity: string;
    FBalance: Currency;
    procedure SetName(const Value: string);
  public
    constructor Create(const AName: string);
    function AsLine: string;
    procedure FromLine(const Line: string);
    property Name: string read FName write SetName;
    property City: string read FCity write FCity;
    property Balance: Currency read FBalance write FBalance;
  end;

  TCustomerEvent = procedure(Sender: TObject; Customer: TCustomer) of object;

  TCustomerBook = class(TObject)
  private
    FItems: TList;
    FOnChange: TCustomerEvent;
    function GetCount: Integer;
    function GetCustomer(Index: Integer): TCustomer;
  public
    constructor Create;
    destructor Destroy; override;
    function Add(const AName: string): TCustomer;
    procedure Remove(Customer: TCustomer);
    function IndexOf(Customer: TCustomer): Integer;
    procedure Clear;
    procedure LoadFromFile(const FileName: string);
    procedure SaveToFile(const FileName: string);
    property Count: Integer read GetCount;
    property Customers[Index: Integer]: TCustomer read GetCustomer; default;
    property OnChange: TCustomerEvent read FOnChange write FOnChange;
  end;

implementation

uses
  TextUtils;

{ TCustomer }

constructor TCustomer.Create(const AName: string);
begin
  inherited Create;
  Name := AName;
end;

procedure TCustomer.SetName(const Value: string);
begin
  if Trim(Value) = '' then
    raise ECustomerError.Create('A customer needs a name');
  FName := Trim(Value);
end;

function TCustomer.AsLine: string;
begin
  Result := FName + ';' + FCity + ';' + CurrToStr(FBalance);
end;

procedure TCustomer.FromLine(const Line: string);
begin
  Name := FieldOf(Line, 1);
  FCity := FieldOf(Line, 2);
  FBalance := StrToCurrDef(FieldOf(Line, 3), 0);
end;

{ TCustomerBook }

constructor TCustomerBook.Create;
begin
  inherited Create;
  FItems := TList.Create;
end;

destructor TCustomerBook.Destroy;
begin
  Clear;
  FItems.Free;
  inherited Destroy;
end;

function TCustomerBook.GetCount: Integer;
begin
  Result := FItems.Count;
end;

function TCustomerBook.GetCustomer(Index: Integer): TCustomer;
begin
  Result := TCustomer(FItems[Index]);
end;

function TCustomerBook.Add(const AName: string): TCustomer;
begin
  Result := TCustomer.Create(AName);
  FItems.Add(Result);
  if Assigned(FOnChange) then FOnChange(Self, Result);
end;

procedure TCustomerBook.Remove(Customer: TCustomer);
begin
  FItems.Remove(Customer);
  Customer.Free;
  if Assigned(FOnChange) then FOnChange(Self, nil);
end;

function TCustomerBook.IndexOf(Customer: TCustomer): Integer;
begin
  Result := FItems.IndexOf(Customer);
end;

procedure TCustomerBook.Clear;
var
  I: Integer;
begin
  for I := 0 to FItems.Count - 1 do
    TCustomer(FItems[I]).Free;
  FItems.Clear;
end;

procedure TCustomerBook.LoadFromFile(const FileName: string);
var
  Lines: TStringList;
  I: Integer;
begin
  Clear;
  if not FileExists(FileName) then Exit;
  Lines := TStringList.Create;
  try
    Lines.LoadFromFile(FileName);
    for I := 0 to Lines.Count - 1 do
      if Trim(Lines[I]) <> '' then
        Add(FieldOf(Lines[I], 1)).FromLine(Lines[I]);
  finally
    Lines.Free;
  end;
end;

procedure TCustomerBook.SaveToFile(const FileName: string);
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    for I := 0 to Count - 1 do
      Lines.Add(Customers[I].AsLine);
    Lines.SaveToFile(FileName);
  finally
    Lines.Free;
  end;
end;

end.
