object frmOrderEntry: TfrmOrderEntry
  Left = 240
  Top = 160
  Width = 420
  Height = 320
  Caption = 'Order Entry'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 8
    Top = 12
    Width = 45
    Height = 13
    Caption = 'Order No'
    FocusControl = DBEdit1
  end
  object Label2: TLabel
    Left = 8
    Top = 52
    Width = 60
    Height = 13
    Caption = 'Customer No'
    FocusControl = DBEdit2
  end
  object DBEdit1: TDBEdit
    Left = 8
    Top = 26
    Width = 93
    Height = 21
    DataField = 'OrderNo'
    DataSource = dsOrders
    TabOrder = 0
  end
  object DBEdit2: TDBEdit
    Left = 8
    Top = 66
    Width = 93
    Height = 21
    DataField = 'CustNo'
    DataSource = dsOrders
    TabOrder = 1
  end
  object DBCheckBox1: TDBCheckBox
    Left = 120
    Top = 28
    Width = 97
    Height = 17
    Caption = 'Paid'
    DataField = 'Paid'
    DataSource = dsOrders
    TabOrder = 2
    ValueChecked = 'True'
    ValueUnchecked = 'False'
  end
  object DBNavigator1: TDBNavigator
    Left = 8
    Top = 256
    Width = 240
    Height = 25
    DataSource = dsOrders
    TabOrder = 3
  end
  object tbOrders: TTable
    DatabaseName = 'orders.db'
    TableName = 'orders'
    Left = 344
    Top = 8
  end
  object dsOrders: TDataSource
    DataSet = tbOrders
    Left = 344
    Top = 48
  end
  object qyShipping: TQuery
    DatabaseName = 'orders.db'
    SQL.Strings = (
      'SELECT OrderNo, ShipDate, ShipVia'
      'FROM orders'
      'WHERE ShipDate IS NOT NULL')
    Left = 344
    Top = 88
  end
end
