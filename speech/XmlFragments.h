// Text fragments from marked-up text: SAPI 5 XML and SSML 1.1, parsed with
// pugixml (a small DOM parser that gives every node's offset in the input,
// so fragments keep their source positions and errors their line and
// column). Fragment offsets are positions in the input, markup included.
#pragma once

#include <string>
#include <string_view>

#include "speech/TextFragments.h"

namespace vox::speech {

// False with `error` = "LINE:COLUMN: what is wrong" for malformed input.
bool FragmentsFromSapiXml(std::string_view utf8, const SPVSTATE& state, FragmentList& out,
                          std::string& error);
bool FragmentsFromSsml(std::string_view utf8, const SPVSTATE& state, FragmentList& out,
                       std::string& error);

}  // namespace vox::speech
