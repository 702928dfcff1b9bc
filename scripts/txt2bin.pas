{ Converts a text form file to the binary form format with the Free Pascal
  run-time library, to make binary test fixtures:
    fpc -otxt2bin scripts/txt2bin.pas && ./txt2bin Form.dfm Form.bin.dfm }
program txt2bin;

{$mode objfpc}

uses
  Classes, SysUtils;

var
  Source, Dest: TFileStream;
begin
  if ParamCount <> 2 then
  begin
    WriteLn(StdErr, 'usage: txt2bin TEXTFORM BINARYFORM');
    Halt(2);
  end;
  Source := TFileStream.Create(ParamStr(1), fmOpenRead);
  try
    Dest := TFileStream.Create(ParamStr(2), fmCreate);
    try
      ObjectTextToBinary(Source, Dest);
    finally
      Dest.Free;
    end;
  finally
    Source.Free;
  end;
end.
