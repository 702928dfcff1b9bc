object Form1: TForm1
  Left = -8
  Top = 100000
  Caption = 'It''s a '#13#10'form'#9
  Hint = 
    'a long text that goes on ' +
    'and on'
  Font.Height = -11
  Font.Style = [fsBold, fsItalic]
  Anchors = []
  Scale = 1.5
  Big = 5000000000
  Ratio = -2.5E-3
  PixelsPerInch = 96
  Visible = True
  Enabled = False
  Items.Strings = (
    'first'
    'second'
    '')
  Glyph.Data = {
    0A54426974
    6D6170FF00}
  Numbers = (
    1
    -300
    70000)
  Columns = <
    item
      Expanded = False
      Title.Caption = 'One'
      Width = 64
    end
    item
      FieldName = 'Two'
    end>
  Empty = <>
  object Panel1: TPanel
    Left = 0
    object Edit1: TDBEdit
      DataField = 'CustNo'
      DataSource = DataSource1
    end
  end
  object DataSource1: TDataSource
    DataSet = Table1
  end
  object Table1: TTable
    DatabaseName = 'db.sqlite'
    object Table1CustNo: TIntegerField
      FieldName = 'CustNo'
      DisplayLabel = 'Customer'
    end
  end
  inline Frame1: TMyFrame
    Left = 10
    inherited Button1: TButton [2]
      Caption = 'Go'
    end
  end
end
