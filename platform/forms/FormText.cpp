// The text form format: "object Name: TClass" blocks of "Name = value" lines.
#include "platform/forms/FormFile.h"

#include <cstdio>
#include <cstdlib>

namespace vesk {

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

namespace {

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHex(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

class TTextReader {
public:
    TTextReader(const std::string& text, TFormFile& form) : S(text), Form(form) {}

    void Read() {
        DetectEol();
        SkipBlanks();
        std::string kw = PeekIdent();
        if (KindOf(kw) < 0)
            Fail("\"object\" expected");
        ReadObject(nullptr, 0);
        // The host reads one object; whatever follows it is kept as it is.
        Form.FTrailer = S.substr(Mark);
    }

private:
    const std::string& S;
    TFormFile& Form;
    std::size_t Pos = 0;
    std::size_t Mark = 0; // where the piece being read began
    int Line = 1;

    [[noreturn]] void Fail(const std::string& what) const {
        throw EFormError("line " + std::to_string(Line) + ": " + what);
    }

    void DetectEol() {
        auto lf = S.find('\n');
        if (lf != std::string::npos)
            Form.FEol = lf > 0 && S[lf - 1] == '\r' ? "\r\n" : "\n";
        else if (S.find('\r') != std::string::npos)
            Form.FEol = "\r";
    }

    char Peek() const { return Pos < S.size() ? S[Pos] : '\0'; }

    // The next character after blanks, without moving: the end of a piece stays put.
    char PeekPast() const {
        std::size_t p = Pos;
        while (p < S.size() && static_cast<unsigned char>(S[p]) <= ' ')
            ++p;
        return p < S.size() ? S[p] : '\0';
    }

    void SkipBlanks() {
        while (Pos < S.size() && static_cast<unsigned char>(S[Pos]) <= ' ') {
            if (S[Pos] == '\n' || (S[Pos] == '\r' && (Pos + 1 >= S.size() || S[Pos + 1] != '\n')))
                ++Line;
            ++Pos;
        }
        // A byte-order mark at the very start belongs to the first piece.
        if (Pos == 0 && S.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            Pos = 3;
            SkipBlanks();
        }
    }

    // Ends the current piece after its last token: blanks up to and including one
    // line break go with it.
    std::string Cut() {
        while (Pos < S.size() && (S[Pos] == ' ' || S[Pos] == '\t'))
            ++Pos;
        if (Pos < S.size() && S[Pos] == '\r') {
            ++Pos;
            ++Line;
            if (Pos < S.size() && S[Pos] == '\n')
                ++Pos;
        } else if (Pos < S.size() && S[Pos] == '\n') {
            ++Pos;
            ++Line;
        }
        std::string piece = S.substr(Mark, Pos - Mark);
        Mark = Pos;
        return piece;
    }

    std::string PeekIdent() const {
        std::size_t p = Pos;
        while (p < S.size() && IsIdentChar(S[p]))
            ++p;
        return IsIdentStart(Peek()) ? S.substr(Pos, p - Pos) : std::string();
    }

    std::string ReadIdent() {
        SkipBlanks();
        if (!IsIdentStart(Peek()))
            Fail("identifier expected");
        std::size_t start = Pos;
        while (Pos < S.size() && IsIdentChar(S[Pos]))
            ++Pos;
        return S.substr(start, Pos - start);
    }

    // Name or Name.Sub.Sub, as qualified property names and references are written.
    std::string ReadDotted() {
        std::string name = ReadIdent();
        while (Peek() == '.') {
            ++Pos;
            name += '.';
            name += ReadIdent();
        }
        return name;
    }

    void Expect(char c) {
        SkipBlanks();
        if (Peek() != c)
            Fail(std::string("\"") + c + "\" expected");
        ++Pos;
    }

    static int KindOf(const std::string& word) {
        if (SameText(word, "object"))
            return 0;
        if (SameText(word, "inherited"))
            return 1;
        if (SameText(word, "inline"))
            return 2;
        return -1;
    }

    TComponent* ReadObject(TComponent* enclosing, int depth) {
        if (depth > MaxFormNesting)
            Fail("objects nested too deeply");
        SkipBlanks();
        const int kind = KindOf(ReadIdent());
        SkipBlanks();
        std::size_t firstPos = Pos;
        std::string first = ReadDotted();
        std::string name, className;
        std::size_t namePos = firstPos;
        bool hasName = false;
        if (PeekPast() == ':') {
            SkipBlanks();
            ++Pos;
            name = first;
            hasName = true;
            className = ReadDotted();
        } else {
            className = first;
        }
        TComponent* obj = AddReadObject(Form, enclosing, className, name);
        obj->Stream.Kind = static_cast<TStreamRecord::TKind>(kind);
        obj->Stream.HasName = hasName;
        obj->Stream.NameAsRead = name;
        obj->Stream.FromFile = true;
        obj->Stream.Depth = depth;
        if (PeekPast() == '[') {
            SkipBlanks();
            ++Pos;
            obj->Stream.ChildPos = ReadInteger();
            Expect(']');
        }
        const std::size_t headerStart = Mark;
        obj->Stream.Header = Cut();
        obj->Stream.NamePos = namePos - headerStart;

        bool childSeen = false;
        for (;;) {
            SkipBlanks();
            if (Pos >= S.size())
                Fail("\"end\" expected");
            std::string word = PeekIdent();
            if (word.empty())
                Fail("property name expected");
            if (SameText(word, "end")) {
                Pos += 3;
                break;
            }
            if (KindOf(word) >= 0) {
                ReadObject(obj, depth + 1);
                childSeen = true;
                continue;
            }
            if (childSeen)
                Fail("property after a nested object");
            TProperty prop;
            prop.Name = ReadDotted();
            Expect('=');
            prop.Value = ReadValue(depth + 1);
            prop.Raw = Cut();
            prop.Dirty = false;
            obj->AddReadProperty(std::move(prop));
        }
        obj->Stream.End = Cut();
        return obj;
    }

    std::int64_t ReadInteger() {
        TValue v = ReadNumber();
        if (v.Kind != TValueKind::Integer)
            Fail("integer expected");
        return v.Int;
    }

    TValue ReadNumber() {
        SkipBlanks();
        std::size_t start = Pos;
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            ++Pos;
        }
        TValue v;
        if (Peek() == '$') {
            ++Pos;
            std::uint64_t n = 0;
            std::size_t digits = 0;
            while (IsHex(Peek())) {
                if (++digits > 16)
                    Fail("number too large");
                n = n * 16 + static_cast<unsigned>(HexValue(S[Pos++]));
            }
            if (digits == 0)
                Fail("hexadecimal digits expected");
            v.Kind = TValueKind::Integer;
            v.Int = negative ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n);
            return v;
        }
        if (!IsDigit(Peek()))
            Fail("number expected");
        while (IsDigit(Peek()))
            ++Pos;
        bool isFloat = false;
        if (Peek() == '.' && Pos + 1 < S.size() && IsDigit(S[Pos + 1])) {
            isFloat = true;
            ++Pos;
            while (IsDigit(Peek()))
                ++Pos;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            std::size_t p = Pos + 1;
            if (p < S.size() && (S[p] == '+' || S[p] == '-'))
                ++p;
            if (p < S.size() && IsDigit(S[p])) {
                isFloat = true;
                Pos = p;
                while (IsDigit(Peek()))
                    ++Pos;
            }
        }
        std::string text = S.substr(start, Pos - start);
        if (isFloat || Peek() == 's' || Peek() == 'S' || Peek() == 'c' || Peek() == 'C' ||
            Peek() == 'd' || Peek() == 'D') {
            v.Kind = TValueKind::Float;
            v.Float = std::strtod(text.c_str(), nullptr);
            if (Peek() == 's' || Peek() == 'S')
                v.FloatType = TFloatType::Single, ++Pos;
            else if (Peek() == 'c' || Peek() == 'C')
                v.FloatType = TFloatType::Currency, ++Pos;
            else if (Peek() == 'd' || Peek() == 'D')
                v.FloatType = TFloatType::Date, ++Pos;
            v.Text = S.substr(start, Pos - start);
            return v;
        }
        if (text.size() > 20)
            Fail("number too large");
        errno = 0;
        long long n = std::strtoll(text.c_str(), nullptr, 10);
        if (errno == ERANGE)
            Fail("number too large");
        v.Kind = TValueKind::Integer;
        v.Int = n;
        return v;
    }

    // One run of quoted parts and #nn codes.
    void ReadStringRun(std::string& out) {
        bool any = false;
        for (;;) {
            if (Peek() == '\'') {
                ++Pos;
                for (;;) {
                    if (Pos >= S.size() || S[Pos] == '\n' || S[Pos] == '\r')
                        Fail("unterminated string");
                    if (S[Pos] == '\'') {
                        if (Pos + 1 < S.size() && S[Pos + 1] == '\'') {
                            out += '\'';
                            Pos += 2;
                            continue;
                        }
                        ++Pos;
                        break;
                    }
                    out += S[Pos++];
                }
            } else if (Peek() == '#') {
                ++Pos;
                std::uint32_t code = 0;
                std::size_t digits = 0;
                if (Peek() == '$') {
                    ++Pos;
                    while (IsHex(Peek()) && digits < 8)
                        code = code * 16 + static_cast<unsigned>(HexValue(S[Pos++])), ++digits;
                } else {
                    while (IsDigit(Peek()) && digits < 10)
                        code = code * 10 + static_cast<unsigned>(S[Pos++] - '0'), ++digits;
                }
                if (digits == 0 || code > 0x10FFFF)
                    Fail("bad character code");
                if (code < 256)
                    out += static_cast<char>(code);
                else
                    AppendUtf8(out, code);
            } else {
                break;
            }
            any = true;
        }
        if (!any)
            Fail("string expected");
    }

    TValue ReadString() {
        TValue v;
        v.Kind = TValueKind::String;
        SkipBlanks();
        ReadStringRun(v.Text);
        for (;;) {
            std::size_t save = Pos;
            int saveLine = Line;
            SkipBlanks();
            if (Peek() != '+') {
                Pos = save;
                Line = saveLine;
                break;
            }
            ++Pos;
            SkipBlanks();
            ReadStringRun(v.Text);
        }
        v.StringType = v.Text.size() > 255 ? TStringType::Long : TStringType::Short;
        return v;
    }

    TValue ReadValue(int depth) {
        if (depth > MaxFormNesting)
            Fail("values nested too deeply");
        SkipBlanks();
        const char c = Peek();
        TValue v;
        if (c == '\'' || c == '#')
            return ReadString();
        if (c == '-' || c == '+' || c == '$' || IsDigit(c))
            return ReadNumber();
        if (IsIdentStart(c)) {
            v.Kind = TValueKind::Ident;
            v.Text = ReadDotted();
            return v;
        }
        if (c == '[') {
            ++Pos;
            v.Kind = TValueKind::Set;
            SkipBlanks();
            if (Peek() != ']') {
                for (;;) {
                    SkipBlanks();
                    if (IsDigit(Peek()) || Peek() == '-')
                        v.Set.push_back(std::to_string(ReadInteger()));
                    else
                        v.Set.push_back(ReadIdent());
                    SkipBlanks();
                    if (Peek() == ',') {
                        ++Pos;
                        continue;
                    }
                    break;
                }
            }
            Expect(']');
            return v;
        }
        if (c == '(') {
            ++Pos;
            v.Kind = TValueKind::List;
            for (;;) {
                SkipBlanks();
                if (Peek() == ')')
                    break;
                if (Pos >= S.size())
                    Fail("\")\" expected");
                v.Items.push_back(ReadValue(depth + 1));
            }
            ++Pos;
            return v;
        }
        if (c == '{') {
            ++Pos;
            v.Kind = TValueKind::Binary;
            int half = -1;
            for (;;) {
                SkipBlanks();
                if (Peek() == '}')
                    break;
                if (!IsHex(Peek()))
                    Fail("hexadecimal digits expected");
                int d = HexValue(S[Pos++]);
                if (half < 0) {
                    half = d;
                } else {
                    v.Text += static_cast<char>(half * 16 + d);
                    half = -1;
                }
            }
            if (half >= 0)
                Fail("odd number of hexadecimal digits");
            ++Pos;
            return v;
        }
        if (c == '<') {
            ++Pos;
            v.Kind = TValueKind::Collection;
            for (;;) {
                SkipBlanks();
                if (Peek() == '>')
                    break;
                if (!SameText(PeekIdent(), "item"))
                    Fail("\"item\" expected");
                Pos += 4;
                TCollectionItem item;
                if (PeekPast() == '[') {
                    SkipBlanks();
                    ++Pos;
                    item.Order = ReadInteger();
                    Expect(']');
                }
                for (;;) {
                    SkipBlanks();
                    std::string word = PeekIdent();
                    if (word.empty())
                        Fail("\"end\" expected");
                    if (SameText(word, "end")) {
                        Pos += 3;
                        break;
                    }
                    TNamedValue nv;
                    nv.Name = ReadDotted();
                    Expect('=');
                    nv.Value = ReadValue(depth + 1);
                    item.Props.push_back(std::move(nv));
                }
                v.Collection.push_back(std::move(item));
            }
            ++Pos;
            return v;
        }
        Fail(Pos >= S.size() ? "value expected at the end of the file" : "value expected");
    }
};

std::string Indent(int depth) {
    return std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

std::string QuoteString(const std::string& text) {
    if (text.empty())
        return "''";
    std::string out;
    bool open = false;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < ' ') {
            if (open)
                out += '\'';
            open = false;
            out += '#' + std::to_string(c);
            continue;
        }
        if (!open)
            out += '\'';
        open = true;
        out += ch;
        if (ch == '\'')
            out += '\'';
    }
    if (open)
        out += '\'';
    return out;
}

std::string FormatTextValue(const TValue& v, int depth, const std::string& eol) {
    switch (v.Kind) {
    case TValueKind::Integer:
        return std::to_string(v.Int);
    case TValueKind::Float: {
        if (!v.Text.empty())
            return v.Text;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v.Float);
        std::string text = buf;
        if (text.find_first_of(".eEn") == std::string::npos)
            text += ".0";
        return text;
    }
    case TValueKind::String:
        return QuoteString(v.Text);
    case TValueKind::Ident:
        return v.Text;
    case TValueKind::Set: {
        std::string out = "[";
        for (std::size_t i = 0; i < v.Set.size(); ++i)
            out += (i ? ", " : "") + v.Set[i];
        return out + "]";
    }
    case TValueKind::List: {
        std::string out = "(";
        for (const TValue& item : v.Items)
            out += eol + Indent(depth + 1) + FormatTextValue(item, depth + 1, eol);
        return out + ")";
    }
    case TValueKind::Binary: {
        static const char digits[] = "0123456789ABCDEF";
        std::string out = "{";
        for (std::size_t i = 0; i < v.Text.size(); ++i) {
            if (i % 32 == 0)
                out += eol + Indent(depth + 1);
            const auto b = static_cast<unsigned char>(v.Text[i]);
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out + "}";
    }
    case TValueKind::Collection: {
        std::string out = "<";
        for (const TCollectionItem& item : v.Collection) {
            out += eol + Indent(depth + 1) + "item";
            if (item.Order)
                out += " [" + std::to_string(*item.Order) + "]";
            for (const TNamedValue& nv : item.Props)
                out += eol + Indent(depth + 2) + nv.Name + " = " +
                       FormatTextValue(nv.Value, depth + 2, eol);
            out += eol + Indent(depth + 1) + "end";
        }
        return out + ">";
    }
    }
    return {};
}

class TTextWriter {
public:
    explicit TTextWriter(const TFormFile& form) : Form(form), Eol(form.FEol) {}
    TTextWriter(const TFormFile& form, const std::string& eol) : Form(form), Eol(eol) {}

    std::string Write() {
        if (Form.Root())
            WriteObject(*Form.Root(), 0);
        Out += Form.FTrailer;
        return std::move(Out);
    }

    std::string WriteOne(const TComponent& c, int depth) {
        WriteObject(c, depth);
        return std::move(Out);
    }

private:
    const TFormFile& Form;
    const std::string& Eol;
    std::string Out;

    // An object read from the file and still at its depth is written from its own bytes.
    static bool AsRead(const TComponent& c, int depth) {
        return c.Stream.FromFile && c.Stream.Depth == depth;
    }

    std::string Header(const TComponent& c, int depth) const {
        const TStreamRecord& r = c.Stream;
        if (AsRead(c, depth) && c.Name() == r.NameAsRead)
            return r.Header;
        if (AsRead(c, depth) && r.HasName && !c.Name().empty()) {
            std::string h = r.Header;
            return h.replace(r.NamePos, r.NameAsRead.size(), c.Name());
        }
        static const char* const kinds[] = {"object", "inherited", "inline"};
        std::string h = Indent(depth) + kinds[static_cast<int>(r.Kind)] + ' ';
        if (!c.Name().empty())
            h += c.Name() + ": ";
        h += c.ClassName();
        if (r.ChildPos)
            h += " [" + std::to_string(*r.ChildPos) + "]";
        return h + Eol;
    }

    void WriteObject(const TComponent& c, int depth) {
        Out += Header(c, depth);
        for (int i = 0; i < c.PropertyCount(); ++i) {
            const TProperty& p = c.Properties(i);
            if (AsRead(c, depth) && p.Unchanged()) {
                Out += p.Raw;
                continue;
            }
            TValue value = p.Value;
            if (p.Ref)
                value = TValue::Ident(p.Ref->Name());
            Out +=
                Indent(depth + 1) + p.Name + " = " + FormatTextValue(value, depth + 1, Eol) + Eol;
        }
        for (const TComponent* child : c.Children())
            WriteObject(*child, depth + 1);
        Out += AsRead(c, depth) ? c.Stream.End : Indent(depth) + "end" + Eol;
    }
};

} // namespace

void ReadTextForm(const std::string& bytes, TFormFile& form) {
    form.FFormat = TFormFormat::Text;
    TTextReader(bytes, form).Read();
}

std::string WriteTextForm(const TFormFile& form) {
    return TTextWriter(form).Write();
}

std::string WriteTextObject(const TComponent& component, int depth, const std::string& eol) {
    static const TFormFile none;
    return TTextWriter(none, eol).WriteOne(component, depth);
}

} // namespace vesk
