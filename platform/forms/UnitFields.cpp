#include "platform/forms/UnitFields.h"

#include "platform/forms/Component.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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

bool IsKeyword(std::string_view word, std::initializer_list<std::string_view> keywords) {
    return std::any_of(keywords.begin(), keywords.end(),
                       [&](std::string_view k) { return SameText(word, k); });
}

std::size_t LineStart(const std::string& s, std::size_t pos) {
    const auto nl = s.rfind('\n', pos == 0 ? 0 : pos - 1);
    return pos == 0 || nl == std::string::npos ? 0 : nl + 1;
}
std::size_t NextLineStart(const std::string& s, std::size_t pos) {
    const auto nl = s.find('\n', pos);
    return nl == std::string::npos ? s.size() : nl + 1;
}

// Where the class body's declarations stand: the body's tokens, the first section's
// end (its first method, property or visibility word) and the last field there.
struct TClassLayout {
    std::size_t Begin = 0, End = 0;  // token range of the body
    std::size_t SectionEnd = 0;      // token index ending the first section
    std::optional<std::size_t> Semi; // the last ";" of a field in the first section
    std::size_t HeaderEnd = 0;       // character position just after "class(...)"
};

std::optional<TClassLayout> LayOutClass(const std::string& s, const std::vector<TToken>& t,
                                        const std::string& className) {
    const auto body = FindClassBody(s, t, className);
    if (!body)
        return std::nullopt;
    auto word = [&](std::size_t k) { return std::string_view(s).substr(t[k].Pos, t[k].Len); };
    TClassLayout layout;
    layout.Begin = body->first;
    layout.End = body->second;
    std::size_t k = body->first;
    layout.HeaderEnd = t[k - 1].Pos + t[k - 1].Len; // after "class"
    if (k < body->second && t[k].Kind == '(') {
        while (k < body->second && t[k].Kind != ')')
            ++k;
        if (k < body->second)
            layout.HeaderEnd = t[k].Pos + 1;
        ++k;
    }
    layout.SectionEnd = body->second;
    for (; k < body->second; ++k) {
        if (t[k].Kind == 'i' &&
            IsKeyword(word(k), {"private", "protected", "public", "published", "procedure",
                                "function", "constructor", "destructor", "property", "class"})) {
            layout.SectionEnd = k;
            break;
        }
        if (t[k].Kind == ';')
            layout.Semi = k;
    }
    return layout;
}

// The token of Name's declaration in the body ("Name:" or "Name," outside parentheses).
std::optional<std::size_t> FindField(const std::string& s, const std::vector<TToken>& t,
                                     const TClassLayout& layout, std::string_view name) {
    int depth = 0;
    for (std::size_t k = layout.Begin; k + 1 < layout.End; ++k) {
        if (t[k].Kind == '(')
            ++depth;
        else if (t[k].Kind == ')')
            --depth;
        else if (depth == 0 && t[k].Kind == 'i' && (t[k + 1].Kind == ':' || t[k + 1].Kind == ',') &&
                 SameText(std::string_view(s).substr(t[k].Pos, t[k].Len), name))
            return k;
    }
    return std::nullopt;
}

// Takes out the line "Name: TType;" when the declaration stands alone on it.
void RemoveField(std::string& s, const std::string& className, const std::string& name) {
    const auto t = Tokenize(s);
    const auto layout = LayOutClass(s, t, className);
    if (!layout)
        return;
    const auto k = FindField(s, t, *layout, name);
    if (!k || *k + 3 >= layout->End || t[*k + 1].Kind != ':' || t[*k + 2].Kind != 'i' ||
        t[*k + 3].Kind != ';')
        return;
    const std::size_t begin = LineStart(s, t[*k].Pos);
    const std::size_t end = NextLineStart(s, t[*k + 3].Pos);
    for (std::size_t i = begin; i < t[*k].Pos; ++i)
        if (static_cast<unsigned char>(s[i]) > ' ')
            return; // something else stands before it
    const std::size_t after = t[*k + 3].Pos + 1;
    for (std::size_t i = after; i < end; ++i)
        if (static_cast<unsigned char>(s[i]) > ' ')
            return; // or after it
    s.erase(begin, end - begin);
}

// Declares Name: ClassName after the last field of the first section (or just after
// the class header), indented as the fields are.
void AddField(std::string& s, const std::string& formClass, const std::string& name,
              const std::string& componentClass) {
    const auto t = Tokenize(s);
    const auto layout = LayOutClass(s, t, formClass);
    if (!layout || FindField(s, t, *layout, name))
        return;
    std::size_t anchor = layout->HeaderEnd;
    std::string indent;
    if (layout->Semi) {
        anchor = t[*layout->Semi].Pos + 1;
        const std::size_t start = LineStart(s, anchor - 1);
        for (std::size_t i = start; i < s.size() && (s[i] == ' ' || s[i] == '\t'); ++i)
            indent += s[i];
    } else {
        const std::size_t start = LineStart(s, layout->HeaderEnd - 1);
        for (std::size_t i = start; i < s.size() && (s[i] == ' ' || s[i] == '\t'); ++i)
            indent += s[i];
        indent += "  ";
    }
    const bool crlf = s.find("\r\n") != std::string::npos;
    const std::string eol = crlf ? "\r\n" : "\n";
    const std::size_t at = NextLineStart(s, anchor);
    std::string line = indent + name + ": " + componentClass + ";" + eol;
    if (at == s.size() && !s.empty() && s.back() != '\n')
        line = eol + line;
    s.insert(at, line);
}

void CollectComponents(const TComponent& owner, std::vector<const TComponent*>& out) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        const TComponent* c = owner.Components(i);
        if (!c->Name().empty())
            out.push_back(c);
        CollectComponents(*c, out);
    }
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

void TFormFields::Remember(const TComponent& root) {
    FKnown.clear();
    FGone.clear();
    std::vector<const TComponent*> components;
    CollectComponents(root, components);
    for (const TComponent* c : components)
        FKnown[c] = {c->Name(), c->ClassName()};
}

void TFormFields::Rebuilt(
    const std::vector<std::pair<const TComponent*, const TComponent*>>& replaced) {
    // Every old component died with the old model; keys not followed are stale, and a
    // new component may stand at a stale one's address, so none is kept as a key.
    std::unordered_map<const TComponent*, const TComponent*> successor(replaced.begin(),
                                                                       replaced.end());
    std::unordered_map<const TComponent*, TKnown> known;
    for (auto& [object, entry] : FKnown) {
        if (const auto it = successor.find(object); it != successor.end())
            known[it->second] = std::move(entry);
        else
            FGone.push_back(std::move(entry));
    }
    FKnown = std::move(known);
}

std::string TFormFields::Apply(const std::string& unitText, const TComponent& root) const {
    std::vector<const TComponent*> components;
    CollectComponents(root, components);
    std::unordered_set<const TComponent*> present(components.begin(), components.end());
    std::vector<TFieldRename> renames;
    std::vector<const TComponent*> added;
    std::vector<TKnown> gone;
    for (const TComponent* c : components) {
        const auto it = FKnown.find(c);
        if (it == FKnown.end() || !SameText(it->second.ClassName, c->ClassName())) {
            if (it != FKnown.end())
                gone.push_back(it->second);
            added.push_back(c);
        } else if (it->second.Name != c->Name()) {
            renames.push_back({it->second.Name, c->Name()});
        }
    }
    for (const auto& [object, known] : FKnown)
        if (!present.contains(object))
            gone.push_back(known);
    gone.insert(gone.end(), FGone.begin(), FGone.end());
    // A component gone and one added under its name and class (a delete undone) keep
    // the declaration where it stands.
    std::erase_if(added, [&](const TComponent* c) {
        const auto same = std::find_if(gone.begin(), gone.end(), [&](const TKnown& k) {
            return k.Name == c->Name() && SameText(k.ClassName, c->ClassName());
        });
        if (same == gone.end())
            return false;
        gone.erase(same);
        return true;
    });
    std::vector<std::string> removed;
    for (const TKnown& k : gone)
        removed.push_back(k.Name);
    // Gone first, so that a new component may take a freed name; then the renames, and
    // the additions last, each declared once.
    std::string text = unitText;
    const std::string& formClass = root.ClassName();
    for (const std::string& name : removed)
        RemoveField(text, formClass, name);
    RenameClassFields(text, formClass, renames);
    for (const TComponent* c : added)
        AddField(text, formClass, c->Name(), c->ClassName());
    return text;
}

} // namespace vesk
