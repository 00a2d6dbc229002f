#include "speech/TokenCategory.h"

#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/Utf16.h"
#include "speech/RegistryToken.h"

namespace vox::speech {

namespace {

constexpr std::string_view kMachinePrefix = "HKEY_LOCAL_MACHINE\\";

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

// The category's path below HKEY_LOCAL_MACHINE; "" for other roots.
std::string CategoryPath(const std::u16string& categoryId) {
    const std::string id = Utf16ToUtf8(categoryId);
    if (Lower(id.substr(0, kMachinePrefix.size())) != Lower(kMachinePrefix)) return {};
    return id.substr(kMachinePrefix.size());
}

bool ValueMatches(const std::string& have, const std::string& want) {
    for (const std::string& item : SplitList(have, ';'))
        if (Lower(Trim(item)) == Lower(Trim(want))) return true;
    return false;
}

}  // namespace

std::vector<TokenInfo> EnumerateTokens(const std::u16string& categoryId) {
    std::vector<TokenInfo> tokens;
    const std::string path = CategoryPath(categoryId);
    reg::Key category;
    if (path.empty() ||
        reg::Key::Open(reg::Root::LocalMachine, path + "\\Tokens", category) != reg::Status::Ok)
        return tokens;
    for (const std::string& key : category.SubKeyNames()) {
        TokenInfo t;
        t.key = key;
        t.id = std::string(kMachinePrefix) + path + "\\Tokens\\" + key;
        reg::Key token, attributes;
        if (reg::Key::Open(reg::Root::LocalMachine, path + "\\Tokens\\" + key, token) ==
            reg::Status::Ok)
            token.QueryText("", t.name);
        if (reg::Key::Open(reg::Root::LocalMachine, path + "\\Tokens\\" + key + "\\Attributes",
                           attributes) == reg::Status::Ok) {
            reg::Value value;
            for (size_t i = 0; attributes.EnumValue(i, value) == reg::Status::Ok; ++i) {
                std::string text;
                attributes.QueryText(value.name, text);
                t.attributes[Lower(value.name)] = text;
            }
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

bool MatchesAttributes(const TokenInfo& token, const std::string& required) {
    for (const std::string& item : SplitList(required, ';')) {
        const std::string_view condition = Trim(item);
        if (condition.empty()) continue;
        const size_t notEqual = condition.find("!=");
        const size_t equal = condition.find('=');
        const bool negated = notEqual != std::string_view::npos;
        const size_t split = negated ? notEqual : equal;
        const std::string name = Lower(Trim(condition.substr(0, split)));
        const auto found = token.attributes.find(name);
        if (split == std::string_view::npos) {
            if (found == token.attributes.end()) return false;
            continue;
        }
        const std::string want(Trim(condition.substr(split + (negated ? 2 : 1))));
        const bool matches = found != token.attributes.end() && ValueMatches(found->second, want);
        if (matches == negated) return false;
    }
    return true;
}

ComPtr<ISpObjectToken> OpenToken(const std::string& tokenId) {
    if (Lower(tokenId.substr(0, kMachinePrefix.size())) != Lower(kMachinePrefix)) return {};
    const std::string path = tokenId.substr(kMachinePrefix.size());
    reg::Key key;
    if (reg::Key::Open(reg::Root::LocalMachine, path, key) != reg::Status::Ok) return {};
    return ComPtr<ISpObjectToken>::Attach(new RegistryToken(path));
}

HRESULT CreateBestObject(const std::u16string& categoryId, const std::string& required,
                         const IID& iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return Guarded([&]() -> HRESULT {
        for (const TokenInfo& t : EnumerateTokens(categoryId)) {
            if (!MatchesAttributes(t, required)) continue;
            ComPtr<ISpObjectToken> token = OpenToken(t.id);
            if (!token) continue;
            return token->CreateInstance(nullptr, CLSCTX_ALL, iid, object);
        }
        return SPERR_NOT_FOUND;
    });
}

}  // namespace vox::speech
