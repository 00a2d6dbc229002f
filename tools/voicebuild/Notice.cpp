#include "tools/voicebuild/Notice.h"

#include <sstream>
#include <vector>

#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

constexpr const char* kDebianFormat =
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string LicenceText(const std::string& file) {
    if (!StartsWith(file, kDebianFormat)) return file;
    std::string out;
    bool inFilesStar = false, inLicence = false;
    for (const std::string& line : Lines(file)) {
        if (line.empty()) {
            inFilesStar = inLicence = false;  // a blank line ends a paragraph
            continue;
        }
        if (StartsWith(line, "Files:")) {
            inFilesStar = Trim(std::string_view(line).substr(6)) == "*";
            continue;
        }
        if (!inFilesStar) continue;
        if (line[0] != ' ' && line[0] != '\t') {
            inLicence = StartsWith(line, "License:");
            continue;
        }
        if (!inLicence) continue;
        std::string content = line.substr(1);
        if (Trim(content) == ".") content.clear();
        if (!out.empty() || !content.empty()) out += content + "\n";
    }
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0) out.pop_back();
    return out.empty() ? file : out;
}

std::string NoticeText(const NoticeFacts& f) {
    std::ostringstream out;
    out << "This voice was built by `voxamen voice build` from the speech corpus\n"
        << "  " << f.corpus << "\n\n";
    if (f.licence.empty()) {
        out << "No licence of the corpus was given to the builder. Find out under which terms\n"
            << "the recordings may be used before you distribute this voice.\n\n";
    } else {
        out << "The corpus is distributed under the following notice, conditions and disclaimer,\n"
            << "reproduced verbatim" << (f.licenceSource.empty() ? "" : " from " + f.licenceSource)
            << ":\n\n"
            << f.licence << (f.licence.back() == '\n' ? "" : "\n") << "\n";
    }
    out << "MODIFICATIONS. The files of this voice are a modified, derived form of the corpus:\n"
        << "- the recordings were resampled";
    if (f.sourceRate > 0) out << " from " << f.sourceRate << " Hz";
    out << " to " << f.unitRate << " Hz (soxr, best sinc converter);\n"
        << "- the utterances were cut into single-phone units, one recorded instance per unit\n"
        << "  name; a few units are copies stored under a second name (see build-report.txt);\n"
        << "- the units were renamed to the allophone names of phonetic module " << f.module
        << ";\n"
        << "- the phone boundaries of the labels were moved by acoustic detectors, and pitch\n"
        << "  marks and the prosodic reference values (Pros.cfg) were computed from the\n"
        << "  recordings; none of these is part of the original corpus.\n"
        << "The names of the original authors are kept above. They have not endorsed this voice\n"
        << "or the software that built it.\n";
    return out.str();
}

}  // namespace vox::voicebuild
