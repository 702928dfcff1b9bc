#include "expert/renamer/UnitFields.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <unordered_map>

namespace vesk {

namespace {

struct TToken {
    std::size_t Pos;
    std::size_t Len;
    char Kind; // 'i' identifier, 's' string, or the symbol itself
};

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

// Pascal tokens, comments and blanks skipped.
std::vector<TToken> Tokenize(const std::string& s) {
    std::vector<TToken> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (static_cast<unsigned char>(c) <= ' ') {
            ++i;
        } else if (c == '{') {
            const auto end = s.find('}', i);
            i = end == std::string::npos ? s.size() : end + 1;
        } else if (c == '(' && i + 1 < s.size() && s[i + 1] == '*') {
            const auto end = s.find("*)", i + 2);
            i = end == std::string::npos ? s.size() : end + 2;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            const auto end = s.find('\n', i);
            i = end == std::string::npos ? s.size() : end;
        } else if (c == '\'') {
            const std::size_t start = i++;
            while (i < s.size() && s[i] != '\'' && s[i] != '\n')
                ++i;
            ++i;
            tokens.push_back({start, std::min(i, s.size()) - start, 's'});
        } else if (IsIdentStart(c)) {
            const std::size_t start = i;
            while (i < s.size() && IsIdentChar(s[i]))
                ++i;
            tokens.push_back({start, i - start, 'i'});
        } else {
            tokens.push_back({i, 1, c});
            ++i;
        }
    }
    return tokens;
}

// Token range of the class body: after "ClassName = class" up to its "end".
std::optional<std::pair<std::size_t, std::size_t>>
FindClassBody(const std::string& s, const std::vector<TToken>& t, const std::string& className) {
    auto word = [&](std::size_t k) { return std::string_view(s).substr(t[k].Pos, t[k].Len); };
    for (std::size_t k = 0; k + 2 < t.size(); ++k) {
        if (t[k].Kind != 'i' || !SameText(word(k), className) || t[k + 1].Kind != '=' ||
            t[k + 2].Kind != 'i' || !SameText(word(k + 2), "class"))
            continue;
        int depth = 0;
        for (std::size_t e = k + 3; e < t.size(); ++e) {
            if (t[e].Kind == '(')
                ++depth;
            else if (t[e].Kind == ')')
                --depth;
            else if (depth == 0 && t[e].Kind == 'i' &&
                     (SameText(word(e), "end") || SameText(word(e), "implementation")))
                return std::make_pair(k + 3, e);
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<TFieldRename> RenameClassFields(std::string& source, const std::string& className,
                                            const std::vector<TFieldRename>& renames) {
    const std::vector<TToken> tokens = Tokenize(source);
    const auto body = FindClassBody(source, tokens, className);
    if (!body)
        return renames;
    // A field's name is an identifier followed by ":" or "," outside parentheses
    // (method parameters stand inside them). One pass over the class body finds the
    // first declaration of each old name.
    struct TEdit {
        std::size_t Pos, Len;
        std::string Text;
    };
    std::unordered_map<std::string, std::size_t> wanted; // upper-cased old name -> rename
    for (std::size_t r = 0; r < renames.size(); ++r)
        wanted.emplace(UpperCase(renames[r].OldName), r);
    std::vector<bool> found(renames.size(), false);
    std::vector<TEdit> edits;
    int depth = 0;
    for (std::size_t k = body->first; k < body->second && edits.size() < renames.size(); ++k) {
        const TToken& tok = tokens[k];
        if (tok.Kind == '(') {
            ++depth;
        } else if (tok.Kind == ')') {
            --depth;
        } else if (depth == 0 && tok.Kind == 'i' && k + 1 < body->second &&
                   (tokens[k + 1].Kind == ':' || tokens[k + 1].Kind == ',')) {
            const auto it =
                wanted.find(UpperCase(std::string_view(source).substr(tok.Pos, tok.Len)));
            if (it != wanted.end() && !found[it->second]) {
                found[it->second] = true;
                edits.push_back({tok.Pos, tok.Len, renames[it->second].NewName});
            }
        }
    }
    std::vector<TFieldRename> missing;
    for (std::size_t r = 0; r < renames.size(); ++r)
        if (!found[r])
            missing.push_back(renames[r]);
    // The text rebuilt once, the edits in the order they stand.
    std::sort(edits.begin(), edits.end(),
              [](const TEdit& a, const TEdit& b) { return a.Pos < b.Pos; });
    std::string result;
    result.reserve(source.size() + 16 * edits.size());
    std::size_t done = 0;
    for (const TEdit& e : edits) {
        result.append(source, done, e.Pos - done).append(e.Text);
        done = e.Pos + e.Len;
    }
    result.append(source, done, std::string::npos);
    source = std::move(result);
    return missing;
}

} // namespace vesk
