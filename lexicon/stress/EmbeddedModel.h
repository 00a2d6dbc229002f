// The ending tree learned from festvox-ru at build time, compiled into the
// program (a compiled dictionary file without words), so that the lexicon
// still guesses with the learned model when the dictionary file is missing
// or damaged. Empty when festvox-ru was not installed at build time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lexicon {

struct EmbeddedBytes {
    const uint8_t* data;
    size_t size;
};

EmbeddedBytes EmbeddedModel();

}  // namespace lexicon
