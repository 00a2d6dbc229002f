// Class identifiers of the speech-platform adapter, needed by the voice
// installer before the adapter itself exists in a process.
#pragma once

#include "ComTypes.h"

// {074EB687-9A22-492E-9735-7B7A38CD3DE0}
inline constexpr CLSID CLSID_Orvalink = {
    0x074EB687, 0x9A22, 0x492E, {0x97, 0x35, 0x7B, 0x7A, 0x38, 0xCD, 0x3D, 0xE0}};
// {A50C0785-4FBA-4f55-860D-0AF19F7E47AD}
inline constexpr CLSID CLSID_VoxamenUI = {
    0xA50C0785, 0x4FBA, 0x4F55, {0x86, 0x0D, 0x0A, 0xF1, 0x9F, 0x7E, 0x47, 0xAD}};
// {B23E02A5-74E5-4421-AF5B-DB72BE5750AD}
inline constexpr GUID LIBID_ORVALINKLib = {
    0xB23E02A5, 0x74E5, 0x4421, {0xAF, 0x5B, 0xDB, 0x72, 0xBE, 0x57, 0x50, 0xAD}};
