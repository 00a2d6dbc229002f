#include "engine/synthesis/VoiceModels.h"

namespace vox {

void LoadVoiceModels(VoiceModels& models, const std::string& directory) {
    const std::string dir = directory.empty() ? std::string(".") : directory;
    (void)models.rhythmics.Load(dir + "/Rhytmics.cfg", false);
    (void)models.intonation.Load(dir + "/Intonation.cfg", false);
    (void)models.intonationNew.Load(dir + "/IntonationNew.cfg");
    (void)models.dataset.Load(dir + "/Pros.cfg", false);
    (void)models.amp.Load(dir + "/Amp.cfg");
}

}  // namespace vox
