// Building the phrase's units: one per phoneme, a recorded unit from the voice
// database (or its substitute), a pause, or nothing.
#pragma once

#include "engine/synthesis/PhraseState.h"

namespace vox {

// Fills state.units from state.sds and state.allophones: terminators (but
// the first) get the final pause, word boundaries the "(W)" pause, bit 61 the
// "(W=)" pause, sounds their recorded unit, cut when geminate. Then every
// unit with samples that is not intonable gets evenly spaced marks.
void BuildUnits(PhraseState& state);

// Marks of a unit that is not intonable (unvoiced sounds and pauses): c marks
// every n / c samples, c = n / 147 (one period of 150 Hz); a unit shorter
// than 147 samples gets one mark at 0.
void SetEvenMarks(Unit& unit);

// Keeps the marks a unit can use: inside [0, sample count] and ascending.
void KeepUsableMarks(Unit& unit);

}  // namespace vox
