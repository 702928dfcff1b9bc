unit OrderEntry;

{ The data-entry form of the orders: the Field Expert's and the Component
  Renamer's demonstration form. }

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, Mask, DBCtrls, ExtCtrls, Db, DBTables;

type
  TfrmOrderEntry = class(TForm)
    Label1: TLabel;
    Label2: TLabel;
    DBEdit1: TDBEdit;
    DBEdit2: TDBEdit;
    DBCheckBox1: TDBCheckBox;
    DBNavigator1: TDBNavigator;
    tbOrders: TTable;
    dsOrders: TDataSource;
    qyShipping: TQuery;
  private
  public
  end;

var
  frmOrderEntry: TfrmOrderEntry;

implementation

{$R *.DFM}

end.
