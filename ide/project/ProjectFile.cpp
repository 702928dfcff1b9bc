#include "ide/project/ProjectFile.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <cctype>
#include <filesystem>

namespace vesk {

namespace {

enum class TTokenKind { Ident, String, BraceComment, Symbol, End };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text; // the identifier, the string's value, the comment's inside, the symbol
};

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsIdentChar(char c) {
    return IsIdentStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

// The tokens of a Pascal text as far as a uses clause needs them. Line comments, "(*"
// comments and directives are skipped; brace comments are returned, since the one after
// a unit's path names its form.
class TLexer {
public:
    explicit TLexer(std::string_view text) : FText(text) {}

    TToken Next() {
        FSkippedComment = false;
        for (;;) {
            SkipSpace();
            if (FPos >= FText.size())
                return {};
            const char c = FText[FPos];
            if (c == '/' && At(1) == '/') {
                const std::size_t eol = FText.find('\n', FPos);
                FPos = eol == std::string_view::npos ? FText.size() : eol + 1;
                FSkippedComment = true;
                continue;
            }
            if (c == '(' && At(1) == '*') {
                const std::size_t end = FText.find("*)", FPos + 2);
                FPos = end == std::string_view::npos ? FText.size() : end + 2;
                FSkippedComment = true;
                continue;
            }
            if (c == '{') {
                const std::size_t end = FText.find('}', FPos + 1);
                const std::size_t stop = end == std::string_view::npos ? FText.size() : end;
                std::string inside(FText.substr(FPos + 1, stop - FPos - 1));
                FPos = end == std::string_view::npos ? FText.size() : end + 1;
                if (!inside.empty() && inside[0] == '$')
                    continue; // a compiler directive
                return {TTokenKind::BraceComment, std::move(inside)};
            }
            if (c == '\'')
                return ReadString();
            if (IsIdentStart(c)) {
                const std::size_t start = FPos;
                while (FPos < FText.size() && IsIdentChar(FText[FPos]))
                    ++FPos;
                return {TTokenKind::Ident, std::string(FText.substr(start, FPos - start))};
            }
            ++FPos;
            return {TTokenKind::Symbol, std::string(1, c)};
        }
    }

    // Whether the last Next skipped a line or "(*" comment before its token.
    bool SkippedComment() const { return FSkippedComment; }
    // Where the text after the last token begins.
    std::size_t Pos() const { return FPos; }

private:
    char At(std::size_t offset) const {
        return FPos + offset < FText.size() ? FText[FPos + offset] : '\0';
    }
    void SkipSpace() {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos])))
            ++FPos;
    }
    // 'It''s': a doubled quote stands for one. Character codes (#13) joined to strings
    // play no part in file names and end the string here.
    TToken ReadString() {
        std::string value;
        ++FPos;
        while (FPos < FText.size()) {
            const char c = FText[FPos++];
            if (c == '\'') {
                if (FPos < FText.size() && FText[FPos] == '\'') {
                    value += '\'';
                    ++FPos;
                    continue;
                }
                break;
            }
            if (c == '\n')
                break; // an unterminated string ends with its line
            value += c;
        }
        return {TTokenKind::String, std::move(value)};
    }

    std::string_view FText;
    std::size_t FPos = 0;
    bool FSkippedComment = false;
};

// "{frmMain}" names the form; "{DataModule1: TDataModule}" names it with its class.
std::string FormNameOf(const std::string& comment) {
    const std::size_t colon = comment.find(':');
    return Trim(std::string_view(comment).substr(0, colon));
}

// The entries of the first uses clause; End is set to the offset of the ";" that ends
// it, and stays npos when the clause is missing or broken off.
std::vector<TProjectUnit> ParseUses(std::string_view text, std::size_t& end) {
    end = std::string_view::npos;
    std::vector<TProjectUnit> units;
    TLexer lexer(text);
    TToken token = lexer.Next();
    while (token.Kind != TTokenKind::End &&
           !(token.Kind == TTokenKind::Ident && SameText(token.Text, "uses")))
        token = lexer.Next();
    if (token.Kind == TTokenKind::End)
        return units;

    auto nextCode = [&] { // the next token that is not a comment
        TToken t = lexer.Next();
        while (t.Kind == TTokenKind::BraceComment)
            t = lexer.Next();
        return t;
    };
    token = nextCode();
    while (token.Kind == TTokenKind::Ident) {
        TProjectUnit unit;
        unit.Name = token.Text;
        token = nextCode();
        while (token.Kind == TTokenKind::Symbol && token.Text == ".") { // a dotted name
            token = nextCode();
            if (token.Kind != TTokenKind::Ident)
                return units;
            unit.Name += "." + token.Text;
            token = nextCode();
        }
        if (token.Kind == TTokenKind::Ident && SameText(token.Text, "in")) {
            token = nextCode();
            if (token.Kind != TTokenKind::String)
                return units;
            unit.InPath = token.Text;
            token = lexer.Next(); // the form's comment follows the path
            if (token.Kind == TTokenKind::BraceComment && !lexer.SkippedComment()) {
                unit.FormName = FormNameOf(token.Text);
                token = nextCode();
            }
        }
        while (token.Kind == TTokenKind::BraceComment)
            token = lexer.Next();
        units.push_back(std::move(unit));
        if (token.Kind == TTokenKind::Symbol && token.Text == ";")
            end = lexer.Pos() - 1;
        if (token.Kind != TTokenKind::Symbol || token.Text != ",")
            break; // ";" ends the clause; anything else breaks it off
        token = nextCode();
    }
    return units;
}

} // namespace

std::vector<TProjectUnit> ParseProjectUses(std::string_view text) {
    std::size_t end;
    return ParseUses(text, end);
}

std::size_t ProjectUsesEnd(std::string_view text) {
    std::size_t end;
    ParseUses(text, end);
    return end;
}

std::string FindFileNoCase(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty())
        return {};
    if (FileExists(path))
        return path;
    const fs::path wanted(path);
    fs::path found = wanted.root_path(); // "/" or nothing
    for (const fs::path& part : wanted.relative_path()) {
        const std::string name = part.string();
        const fs::path exact = found / part;
        std::error_code error;
        if (name.empty() || name == "." || name == ".." || fs::exists(exact, error)) {
            found = exact;
            continue;
        }
        const fs::path folder = found.empty() ? fs::path(".") : found;
        bool matched = false;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error))
            if (SameText(it->path().filename().string(), name)) {
                found /= it->path().filename();
                matched = true;
                break;
            }
        if (!matched)
            return {};
    }
    const std::string result = found.string();
    return FileExists(result) ? result : std::string();
}

namespace {

// The file beside Path with its base name and one of the endings, in any case.
std::string FileBeside(const std::string& path, std::initializer_list<const char*> endings) {
    namespace fs = std::filesystem;
    const fs::path file(path);
    const std::string base = file.stem().string();
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code error;
    for (const char* ending : endings)
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (SameText(name, base + ending) && FileExists(it->path().string()))
                return file.has_parent_path() ? it->path().string() : name;
        }
    return {};
}

} // namespace

std::string FormFileBeside(const std::string& unitFile) {
    const std::string ext = ExtractFileExt(unitFile);
    if (!SameText(ext, ".pas") && !SameText(ext, ".pp"))
        return {};
    return FileBeside(unitFile, {".dfm", ".lfm"});
}

std::string UnitFileBeside(const std::string& formFile) {
    const std::string ext = ExtractFileExt(formFile);
    if (!SameText(ext, ".dfm") && !SameText(ext, ".lfm"))
        return {};
    return FileBeside(formFile, {".pas", ".pp"});
}

std::string ResolveUnitFile(const std::string& projectFolder, const TProjectUnit& unit) {
    std::string relative = unit.InPath.empty() ? unit.Name + ".pas" : unit.InPath;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const std::string path = !relative.empty() && relative[0] == '/'
                                 ? relative
                                 : IncludeTrailingPathDelimiter(projectFolder) + relative;
    const std::string found = FindFileNoCase(path);
    return found.empty() ? std::string() : ExpandFileName(found);
}

TProject ReadProject(const std::string& fileName) {
    TProject project;
    project.FileName = fileName;
    project.Units = ParseProjectUses(ReadFileContent(fileName));
    std::string folder = ExtractFilePath(ExpandFileName(fileName));
    for (const TProjectUnit& unit : project.Units)
        project.UnitFiles.push_back(ResolveUnitFile(folder, unit));
    return project;
}

} // namespace vesk
