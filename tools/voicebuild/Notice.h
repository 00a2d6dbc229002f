// The NOTICE file of a built voice: the corpus licence verbatim (notice,
// conditions, disclaimer), followed by the statement of what the builder
// changed, which the usual corpus licences ask for ("modifications must be
// clearly marked").
#pragma once

#include <string>

namespace vox::voicebuild {

struct NoticeFacts {
    std::string corpus;         // where the recordings came from
    std::string licence;        // the licence text, verbatim; empty when none was given
    std::string licenceSource;  // the file it was taken from
    std::string module;         // "419.1"
    int sourceRate = 0;         // Hz, 0 when mixed
    int unitRate = 22050;
};

// The licence text of a file: for a Debian machine-readable copyright file,
// the text of the "License:" field of the paragraph "Files: *" (its
// continuation lines without their leading blank, " ." as an empty line);
// any other file as it stands.
std::string LicenceText(const std::string& file);

std::string NoticeText(const NoticeFacts& facts);

}  // namespace vox::voicebuild
