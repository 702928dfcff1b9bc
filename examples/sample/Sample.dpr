program Sample;

uses
  Forms,
  MainForm in 'MainForm.pas' {frmMain},
  Customers in 'Customers.pas',
  TextUtils in 'TextUtils.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Customer Book';
  Application.CreateForm(TfrmMain, frmMain);
  Application.Run;
end.
