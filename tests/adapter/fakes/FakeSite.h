// An output site that records what the adapter does: every Write (size and
// bytes) and every event, in order, with an abort after a given number of
// writes and the site's rate and volume.
#pragma once

#include <string>
#include <vector>

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

namespace vox::test {

struct SiteRecord {
    bool isWrite;
    uint32_t bytes;       // writes
    SPEVENT event;        // events
    std::u16string text;  // a bookmark's text
};

class FakeSite final
    : public ComObjectBase<false, Interface<ISpTTSEngineSite, IID_ISpTTSEngineSite>> {
  public:
    std::vector<SiteRecord> records;
    std::vector<uint8_t> audio;
    int abortAfterWrites = -1;  // -1: never
    int32_t rate = 0;
    uint16_t volume = 100;
    uint32_t actionsCalls = 0;

    HRESULT AddEvents(const SPEVENT* events, uint32_t count) override {
        for (uint32_t i = 0; i < count; ++i) {
            SiteRecord r{false, 0, events[i], {}};
            if (events[i].elParamType == SPET_LPARAM_IS_STRING)
                r.text = reinterpret_cast<const char16_t*>(events[i].lParam);
            records.push_back(r);
        }
        return S_OK;
    }
    HRESULT GetEventInterest(uint64_t* interest) override {
        *interest = ~0ull;
        return S_OK;
    }
    uint32_t GetActions() override {
        ++actionsCalls;
        return abortAfterWrites >= 0 && Writes() >= abortAfterWrites ? SPVES_ABORT : 0;
    }
    HRESULT Write(const void* data, uint32_t size, uint32_t*) override {
        records.push_back({true, size, {}, {}});
        audio.insert(audio.end(), static_cast<const uint8_t*>(data),
                     static_cast<const uint8_t*>(data) + size);
        return S_OK;
    }
    HRESULT GetRate(int32_t* r) override {
        *r = rate;
        return S_OK;
    }
    HRESULT GetVolume(uint16_t* v) override {
        *v = volume;
        return S_OK;
    }
    HRESULT GetSkipInfo(SPVSKIPTYPE* type, int32_t* n) override {
        *type = SPVST_SENTENCE;
        *n = 1;
        return S_OK;
    }
    HRESULT CompleteSkip(int32_t) override { return S_OK; }

    int Writes() const {
        int n = 0;
        for (const SiteRecord& r : records) n += r.isWrite;
        return n;
    }
    std::vector<SPEVENT> Events(uint16_t id) const {
        std::vector<SPEVENT> out;
        for (const SiteRecord& r : records)
            if (!r.isWrite && r.event.eEventId == id) out.push_back(r.event);
        return out;
    }
};

}  // namespace vox::test
