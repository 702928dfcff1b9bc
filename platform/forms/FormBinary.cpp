// The binary form format: "TPF0", then each object as its class and name, its
// properties as name and typed value, its children, each list closed by a zero byte.
#include "platform/forms/FormFile.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace vesk {

namespace {

enum TValueType : unsigned char {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaUString,
    vaQWord,
    vaDouble
};

constexpr unsigned char ffInherited = 1, ffChildPos = 2, ffInline = 4;

double ExtendedToDouble(const unsigned char* b) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = mantissa << 8 | b[i];
    const unsigned se = b[8] | (b[9] << 8);
    const bool negative = se & 0x8000;
    const int exponent = static_cast<int>(se & 0x7FFF);
    double v;
    if (exponent == 0x7FFF)
        v = (mantissa << 1) ? std::numeric_limits<double>::quiet_NaN()
                            : std::numeric_limits<double>::infinity();
    else
        v = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -v : v;
}

std::string DoubleToExtended(double d) {
    unsigned char b[10] = {};
    unsigned se = std::signbit(d) ? 0x8000 : 0;
    d = std::fabs(d);
    std::uint64_t mantissa = 0;
    if (std::isnan(d)) {
        se |= 0x7FFF;
        mantissa = 0xC000000000000000ULL;
    } else if (std::isinf(d)) {
        se |= 0x7FFF;
        mantissa = 0x8000000000000000ULL;
    } else if (d != 0) {
        int e = 0;
        const double m = std::frexp(d, &e); // 0.5 <= m < 1
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
        se |= static_cast<unsigned>(e - 1 + 16383);
    }
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    b[8] = static_cast<unsigned char>(se);
    b[9] = static_cast<unsigned char>(se >> 8);
    return std::string(reinterpret_cast<char*>(b), 10);
}

class TBinaryReader {
public:
    TBinaryReader(const std::string& bytes, TFormFile& form) : S(bytes), Form(form) {}

    void Read() {
        if (S.size() >= 3 && static_cast<unsigned char>(S[0]) == 0xFF && S[1] == 0x0A && S[2] == 0)
            SkipResourceHeader();
        if (S.size() - Pos < 4 || S.compare(Pos, 4, "TPF0") != 0)
            Fail("\"TPF0\" expected");
        Pos += 4;
        Form.FLeading = S.substr(Mark, Pos - Mark);
        Mark = Pos;
        ReadObject(nullptr, 0);
        Form.FTrailer = S.substr(Pos);
        Form.FResDataSize = S.size() - Form.FResHeader.size();
    }

private:
    const std::string& S;
    TFormFile& Form;
    std::size_t Pos = 0;
    std::size_t Mark = 0;

    [[noreturn]] void Fail(const std::string& what) const {
        throw EFormError("offset " + std::to_string(Pos) + ": " + what);
    }

    void Need(std::size_t n) const {
        if (n > S.size() - Pos)
            Fail("unexpected end of the file");
    }

    unsigned char Byte() {
        Need(1);
        return static_cast<unsigned char>(S[Pos++]);
    }
    unsigned char PeekByte() const {
        Need(1);
        return static_cast<unsigned char>(S[Pos]);
    }
    std::uint64_t LittleEndian(int n) {
        Need(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(S[Pos + static_cast<std::size_t>(i)]);
        Pos += static_cast<std::size_t>(n);
        return v;
    }
    std::string Bytes(std::size_t n) {
        Need(n);
        std::string r = S.substr(Pos, n);
        Pos += n;
        return r;
    }
    std::string ShortString() { return Bytes(Byte()); }
    std::size_t Length32() {
        const auto n = static_cast<std::int32_t>(LittleEndian(4));
        if (n < 0)
            Fail("negative length");
        return static_cast<std::size_t>(n);
    }

    std::string Piece() {
        std::string r = S.substr(Mark, Pos - Mark);
        Mark = Pos;
        return r;
    }

    void SkipResourceHeader() {
        Pos = 3;
        if (PeekByte() == 0xFF) {
            Need(3);
            Pos += 3;
        } else {
            while (Byte() != 0) {
            }
        }
        LittleEndian(2); // memory flags
        LittleEndian(4); // size of the data, rewritten on saving
        Form.FResHeader = S.substr(0, Pos);
        Mark = Pos;
    }

    std::int64_t ReadIntValue() {
        switch (Byte()) {
        case vaInt8:
            return static_cast<std::int8_t>(LittleEndian(1));
        case vaInt16:
            return static_cast<std::int16_t>(LittleEndian(2));
        case vaInt32:
            return static_cast<std::int32_t>(LittleEndian(4));
        case vaInt64:
            return static_cast<std::int64_t>(LittleEndian(8));
        default:
            --Pos;
            Fail("integer expected");
        }
    }

    std::string WideToUtf8(std::size_t units) {
        if (units > (S.size() - Pos) / 2)
            Fail("unexpected end of the file");
        std::string out;
        for (std::size_t i = 0; i < units; ++i) {
            std::uint32_t c = static_cast<std::uint32_t>(LittleEndian(2));
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
                const auto low = static_cast<std::uint32_t>(LittleEndian(2));
                ++i;
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(out, c);
        }
        return out;
    }

    TValue ReadValue(int depth) {
        if (depth > MaxFormNesting)
            Fail("values nested too deeply");
        TValue v;
        const unsigned char type = Byte();
        switch (type) {
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            --Pos;
            v.Kind = TValueKind::Integer;
            v.Int = ReadIntValue();
            return v;
        case vaQWord:
            v.Kind = TValueKind::Integer;
            v.Int = static_cast<std::int64_t>(LittleEndian(8));
            return v;
        case vaExtended:
            v.Kind = TValueKind::Float;
            Need(10);
            v.Float = ExtendedToDouble(reinterpret_cast<const unsigned char*>(S.data() + Pos));
            Pos += 10;
            v.FloatType = TFloatType::Extended;
            return v;
        case vaSingle: {
            v.Kind = TValueKind::Float;
            const auto bits = static_cast<std::uint32_t>(LittleEndian(4));
            float f;
            std::memcpy(&f, &bits, 4);
            v.Float = f;
            v.FloatType = TFloatType::Single;
            return v;
        }
        case vaDouble:
        case vaDate: {
            v.Kind = TValueKind::Float;
            const std::uint64_t bits = LittleEndian(8);
            std::memcpy(&v.Float, &bits, 8);
            v.FloatType = type == vaDate ? TFloatType::Date : TFloatType::Double;
            return v;
        }
        case vaCurrency:
            v.Kind = TValueKind::Float;
            v.Float = static_cast<double>(static_cast<std::int64_t>(LittleEndian(8))) / 10000.0;
            v.FloatType = TFloatType::Currency;
            return v;
        case vaString:
            v.Kind = TValueKind::String;
            v.Text = ShortString();
            v.StringType = TStringType::Short;
            return v;
        case vaLString:
        case vaUTF8String:
            v.Kind = TValueKind::String;
            v.Text = Bytes(Length32());
            v.StringType = type == vaLString ? TStringType::Long : TStringType::Utf8;
            return v;
        case vaWString:
        case vaUString:
            v.Kind = TValueKind::String;
            v.Text = WideToUtf8(Length32());
            v.StringType = type == vaWString ? TStringType::Wide : TStringType::Unicode;
            return v;
        case vaIdent:
            v.Kind = TValueKind::Ident;
            v.Text = ShortString();
            return v;
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            v.Kind = TValueKind::Ident;
            v.Text = type == vaFalse  ? "False"
                     : type == vaTrue ? "True"
                     : type == vaNil  ? "nil"
                                      : "Null";
            return v;
        case vaBinary:
            v.Kind = TValueKind::Binary;
            v.Text = Bytes(Length32());
            return v;
        case vaSet:
            v.Kind = TValueKind::Set;
            for (std::string item = ShortString(); !item.empty(); item = ShortString())
                v.Set.push_back(std::move(item));
            return v;
        case vaList:
            v.Kind = TValueKind::List;
            while (PeekByte() != vaNull)
                v.Items.push_back(ReadValue(depth + 1));
            ++Pos;
            return v;
        case vaCollection:
            v.Kind = TValueKind::Collection;
            while (PeekByte() != vaNull) {
                TCollectionItem item;
                const unsigned char b = PeekByte();
                if (b == vaInt8 || b == vaInt16 || b == vaInt32)
                    item.Order = ReadIntValue();
                if (Byte() != vaList) {
                    --Pos;
                    Fail("collection item expected");
                }
                while (PeekByte() != 0) {
                    TNamedValue nv;
                    nv.Name = ShortString();
                    nv.Value = ReadValue(depth + 1);
                    item.Props.push_back(std::move(nv));
                }
                ++Pos;
                v.Collection.push_back(std::move(item));
            }
            ++Pos;
            return v;
        default:
            --Pos;
            Fail("unknown value type " + std::to_string(type));
        }
    }

    void ReadObject(TComponent* enclosing, int depth) {
        if (depth > MaxFormNesting)
            Fail("objects nested too deeply");
        TStreamRecord record;
        record.FromFile = true;
        if ((PeekByte() & 0xF0) == 0xF0) {
            const unsigned char flags = Byte() & 0x0F;
            if (flags & ffInline)
                record.Kind = TStreamRecord::TKind::Inline;
            else if (flags & ffInherited)
                record.Kind = TStreamRecord::TKind::Inherited;
            if (flags & ffChildPos)
                record.ChildPos = ReadIntValue();
        }
        const std::string className = ShortString();
        if (className.empty())
            Fail("class name expected");
        record.NamePos = Pos - Mark;
        record.NameAsRead = ShortString();
        record.HasName = true;
        record.Header = Piece();

        TComponent* obj = AddReadObject(Form, enclosing, className, record.NameAsRead);
        obj->Stream = std::move(record);

        while (PeekByte() != 0) {
            TProperty prop;
            prop.Name = ShortString();
            prop.Value = ReadValue(depth + 1);
            prop.Raw = Piece();
            prop.Dirty = false;
            obj->AddReadProperty(std::move(prop));
        }
        ++Pos;
        obj->Stream.PropsEnd = Piece();
        while (PeekByte() != 0)
            ReadObject(obj, depth + 1);
        ++Pos;
        obj->Stream.End = Piece();
    }
};

class TBinaryWriter {
public:
    explicit TBinaryWriter(const TFormFile& form) : Form(form) {}

    std::string Write() {
        Out = Form.FLeading.empty() ? std::string("TPF0") : Form.FLeading;
        if (Form.Root())
            WriteObject(*Form.Root());
        Out += Form.FTrailer;
        // The header's size is made right only where the data changed its size, so that
        // a file nobody changed is written back as it was.
        if (Form.FResHeader.empty() || Out.size() == Form.FResDataSize)
            return Form.FResHeader + Out;
        std::string header = Form.FResHeader;
        const auto size = static_cast<std::uint32_t>(Out.size());
        for (int i = 0; i < 4; ++i)
            header[header.size() - 4 + static_cast<std::size_t>(i)] =
                static_cast<char>(size >> (8 * i));
        return header + Out;
    }

private:
    const TFormFile& Form;
    std::string Out;

    static std::string Short(const std::string& s) {
        if (s.size() > 255)
            throw EFormError("name longer than 255 characters: " + s.substr(0, 32) + "...");
        return static_cast<char>(s.size()) + s;
    }
    static std::string Le(std::uint64_t v, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += static_cast<char>(v >> (8 * i));
        return r;
    }
    static std::string Int(std::int64_t v) {
        if (v >= -128 && v <= 127)
            return char(vaInt8) + Le(static_cast<std::uint64_t>(v), 1);
        if (v >= -32768 && v <= 32767)
            return char(vaInt16) + Le(static_cast<std::uint64_t>(v), 2);
        if (v >= INT32_MIN && v <= INT32_MAX)
            return char(vaInt32) + Le(static_cast<std::uint64_t>(v), 4);
        return char(vaInt64) + Le(static_cast<std::uint64_t>(v), 8);
    }

    static std::string Value(const TValue& v) {
        switch (v.Kind) {
        case TValueKind::Integer:
            return Int(v.Int);
        case TValueKind::Float:
            switch (v.FloatType) {
            case TFloatType::Single: {
                const float f = static_cast<float>(v.Float);
                std::uint32_t bits;
                std::memcpy(&bits, &f, 4);
                return char(vaSingle) + Le(bits, 4);
            }
            case TFloatType::Currency:
                return char(vaCurrency) +
                       Le(static_cast<std::uint64_t>(std::llround(v.Float * 10000.0)), 8);
            case TFloatType::Date:
            case TFloatType::Double: {
                std::uint64_t bits;
                std::memcpy(&bits, &v.Float, 8);
                return char(v.FloatType == TFloatType::Date ? vaDate : vaDouble) + Le(bits, 8);
            }
            case TFloatType::Extended:
                return char(vaExtended) + DoubleToExtended(v.Float);
            }
            return {};
        case TValueKind::String:
            if (v.StringType == TStringType::Short && v.Text.size() <= 255)
                return char(vaString) + Short(v.Text);
            return char(v.StringType == TStringType::Long || v.StringType == TStringType::Short
                            ? vaLString
                            : vaUTF8String) +
                   Le(v.Text.size(), 4) + v.Text;
        case TValueKind::Ident:
            if (SameText(v.Text, "True"))
                return std::string(1, char(vaTrue));
            if (SameText(v.Text, "False"))
                return std::string(1, char(vaFalse));
            if (SameText(v.Text, "nil"))
                return std::string(1, char(vaNil));
            return char(vaIdent) + Short(v.Text);
        case TValueKind::Set: {
            std::string r(1, char(vaSet));
            for (const std::string& s : v.Set)
                r += Short(s);
            return r + '\0';
        }
        case TValueKind::List: {
            std::string r(1, char(vaList));
            for (const TValue& item : v.Items)
                r += Value(item);
            return r + '\0';
        }
        case TValueKind::Binary:
            return char(vaBinary) + Le(v.Text.size(), 4) + v.Text;
        case TValueKind::Collection: {
            std::string r(1, char(vaCollection));
            for (const TCollectionItem& item : v.Collection) {
                if (item.Order)
                    r += Int(*item.Order);
                r += char(vaList);
                for (const TNamedValue& nv : item.Props)
                    r += Short(nv.Name) + Value(nv.Value);
                r += '\0';
            }
            return r + '\0';
        }
        }
        return {};
    }

    std::string Header(const TComponent& c) const {
        const TStreamRecord& r = c.Stream;
        if (r.FromFile && c.Name() == r.NameAsRead)
            return r.Header;
        if (r.FromFile) {
            std::string h = r.Header;
            return h.replace(r.NamePos, 1 + r.NameAsRead.size(), Short(c.Name()));
        }
        std::string h;
        unsigned char flags = 0;
        if (r.Kind == TStreamRecord::TKind::Inherited)
            flags |= ffInherited;
        if (r.Kind == TStreamRecord::TKind::Inline)
            flags |= ffInline;
        if (r.ChildPos)
            flags |= ffChildPos;
        if (flags) {
            h += static_cast<char>(0xF0 | flags);
            if (r.ChildPos)
                h += Int(*r.ChildPos);
        }
        return h + Short(c.ClassName()) + Short(c.Name());
    }

    void WriteObject(const TComponent& c) {
        Out += Header(c);
        for (int i = 0; i < c.PropertyCount(); ++i) {
            const TProperty& p = c.Properties(i);
            if (c.Stream.FromFile && p.Unchanged()) {
                Out += p.Raw;
                continue;
            }
            Out += Short(p.Name) + Value(p.Ref ? TValue::Ident(p.Ref->Name()) : p.Value);
        }
        Out += c.Stream.FromFile ? c.Stream.PropsEnd : std::string(1, '\0');
        for (const TComponent* child : c.Children())
            WriteObject(*child);
        Out += c.Stream.FromFile ? c.Stream.End : std::string(1, '\0');
    }
};

} // namespace

bool LooksBinary(const std::string& bytes) {
    return bytes.compare(0, 4, "TPF0") == 0 ||
           (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF && bytes[1] == 0x0A &&
            bytes[2] == 0);
}

void ReadBinaryForm(const std::string& bytes, TFormFile& form) {
    form.FFormat = TFormFormat::Binary;
    TBinaryReader(bytes, form).Read();
}

std::string WriteBinaryForm(const TFormFile& form) {
    return TBinaryWriter(form).Write();
}

} // namespace vesk
