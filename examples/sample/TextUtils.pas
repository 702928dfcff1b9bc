unit TextUtils;

{ Small text helpers shared by the customer book. }

interface

function StartsWithText(const S, Prefix: string): Boolean;
function FieldOf(const Line: string; N: Integer): string;
procedure SplitName(const FullName: string; var First, Last: string);

implementation

uses
  SysUtils;

function StartsWithText(const S, Prefix: string): Boolean;
begin
  Result := AnsiCompareText(Copy(S, 1, Length(Prefix)), Prefix) = 0;
end;

function FieldOf(const Line: string; N: Integer): string;
var
  I, Start, Field: Integer;
begin
  Result := '';
  Field := 1;
  Start := 1;
  for I := 1 to Length(Line) + 1 do
    if (I > Length(Line)) or (Line[I] = ';') then
    begin
      if Field = N then
      begin
        Result := Copy(Line, Start, I - Start);
        Exit;
      end;
      Inc(Field);
      Start := I + 1;
    end;
end;

procedure SplitName(const FullName: string; var First, Last: string);
var
  P: Integer;
begin
  P := Pos(' ', FullName);
  if P = 0 then
  begin
    First := FullName;
    Last := '';
  end
  else
  begin
    First := Copy(FullName, 1, P - 1);
    Last := Trim(Copy(FullName, P + 1, MaxInt));
  end;
end;

end.
