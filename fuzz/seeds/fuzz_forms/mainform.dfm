object frmMain: TfrmMain
  Left = 200
  Top = 120
  Width = 544
  Height = 375
  Caption = 'Customer Book'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = True
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object plTop: TPanel
    Left = 0
    Top = 0
    Width = 536
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object edSearch: TEdit
      Left = 8
      Top = 10
      Width = 401
      Height = 21
      TabOrder = 0
      OnKeyPress = edSearchKeyPress
    end
    object btnSearch: TButton
      Left = 416
      Top = 8
      Width = 75
      Height = 25
      Caption = '&Search'
      TabOrder = 1
      OnClick = btnSearchClick
    end
  end
  object lbCustomers: TListBox
    Left = 0
    Top = 41
    Width = 217
    Height = 288
    Align = alLeft
    ItemHeight = 13
    TabOrder = 1
    OnClick = lbCustomersClick
  end
  object plDetails: TPanel
    Left = 217
    Top = 41
    Width = 319
    Height = 288
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 2
    object lblName: TLabel
      Left = 16
      Top = 16
      Width = 28
      Height = 13
      Caption = '&Name:'
      FocusControl = edName
    end
    object lblCity: TLabel
      Left = 16
      Top = 64
      Width = 20
      Height = 13
      Caption = '&City:'
      FocusControl = edCity
    end
    object edName: TEdit
      Left = 16
      Top = 32
      Width = 281
      Height = 21
      TabOrder = 0
    end
    object edCity: TEdit
      Left = 16
      Top = 80
      Width = 281
      Height = 21
      TabOrder = 1
    end
    object btnSave: TButton
      Left = 16
      Top = 120
      Width = 75
      Height = 25
      Caption = 'S&ave'
      TabOrder = 2
      OnClick = btnSaveClick
    end
    object btnDelete: TButton
      Left = 104
      Top = 120
      Width = 75
      Height = 25
      Caption = '&Delete'
      TabOrder = 3
      OnClick = btnDeleteClick
    end
  end
  object MainMenu1: TMainMenu
    Left = 184
    Top = 8
    object miFile: TMenuItem
      Caption = '&File'
      object miExit: TMenuItem
        Caption = 'E&xit'
        OnClick = miExitClick
      end
    end
  end
end
