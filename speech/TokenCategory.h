// Object tokens of the speech platform, kept in the registry: a category
// ("HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Speech\Voices") holds its tokens
// under "Tokens"; each token names a class ("CLSID") and describes it in
// its "Attributes" subkey. Tokens are found by attributes and create their
// objects by class id, handing themselves to the object.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

namespace vox::speech {

struct TokenInfo {
    std::string id;                                 // "HKEY_LOCAL_MACHINE\SOFTWARE\…\Tokens\KEY"
    std::string key;                                // KEY
    std::string name;                               // the token's default value (its display name)
    std::map<std::string, std::string> attributes;  // names in lower case
};

// The tokens of a category, in key order.
std::vector<TokenInfo> EnumerateTokens(const std::u16string& categoryId);

// "Name=Value;Name2;Name3!=Value": names and values compared without case;
// a value of the token that is a ";" list matches when one item does.
bool MatchesAttributes(const TokenInfo& token, const std::string& required);

// The token of that identifier; null when its key does not exist.
ComPtr<ISpObjectToken> OpenToken(const std::string& tokenId);

// The platform's "best object": the first token of the category matching
// `required` creates its object (class context 0x17) and is handed to it.
HRESULT CreateBestObject(const std::u16string& categoryId, const std::string& required,
                         const IID& iid, void** object);

}  // namespace vox::speech

namespace vox {
using speech::CreateBestObject;
}
