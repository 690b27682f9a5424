// The built-in routines that reach objects (39: the object under a point, 40: a mat object's
// cell) and the audio volumes (2, 3, 7, 8, 21, 22, 35, 36), which scripts see as percentages.
#include <cmath>

#include "audio/fwkAudio.h"
#include "graphics/fwkGraphics.h"
#include "script/scriptInternal.h"
#include "services/fwkText.h"

namespace {

int32_t Percent(float volume) {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(volume) * 100.0));
}

std::string MatCellName(const script& owner, const std::string& objectName, int32_t column, int32_t row) {
    const std::string wanted = TextUpper(objectName);
    for (const objEntry& o : owner.objects) {
        if (TextUpper(o.name) != wanted) continue;
        if (o.kind != kObjMat) return std::string();
        const matData& mat = o.mat.mat;
        if (column < 0 || row < 0 || column >= mat.width || row >= mat.height) return std::string();
        const size_t cell = static_cast<size_t>(row) * static_cast<size_t>(mat.width) + static_cast<size_t>(column);
        if (cell >= mat.cells.size() || mat.cells[cell] >= mat.entries.size()) return std::string();
        return TextUpper(mat.entries[mat.cells[cell]].name);
    }
    return std::string();
}

}  // namespace

int32_t ScriptBuiltinObjectCall(int32_t scriptIndex, int32_t threadIndex, int32_t number) {
    script* owner = ScriptAt(scriptIndex);
    const scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
    if (owner == nullptr || thread == nullptr) return 0;
    const int32_t id = owner->id;
    const int32_t t = thread->id;
    auto percent = [&](int32_t n) { return static_cast<double>(ScriptParamInt(id, t, n)) / 100.0; };
    switch (number) {
    case 2: ScriptParamSetInt(id, t, 1, Percent(AudioVolumeGetMusic())); return 1;
    case 3: AudioVolumeSetMusic(percent(1)); return 1;
    case 7: ScriptParamSetInt(id, t, 1, Percent(AudioVolumeGetSound())); return 1;
    case 8: AudioVolumeSetSound(percent(1)); return 1;
    case 21: ScriptParamSetInt(id, t, 1, Percent(AudioVolumeGetApp())); return 1;
    case 22: AudioVolumeSetApp(percent(1)); return 1;
    case 35: ScriptParamSetInt(id, t, 1, Percent(AudioVolumeGetVoice())); return 1;
    case 36: AudioVolumeSetVoice(percent(1)); return 1;
    case 39: {
        int32_t window = 0;
        int32_t rawX = 0;
        int32_t rawY = 0;
        int32_t x = 0;
        int32_t y = 0;
        ScriptPointerGet(scriptIndex, window, rawX, rawY, x, y);
        const eventObject hit = ScriptObjectHitAt(*owner, window, ScriptParamInt(id, t, 1), ScriptParamInt(id, t, 2));
        ScriptParamSetString(id, t, 3, hit.name);
        return 1;
    }
    case 40:
        ScriptParamSetString(id, t, 4,
                             MatCellName(*owner, ScriptParamString(id, t, 1), ScriptParamInt(id, t, 2),
                                         ScriptParamInt(id, t, 3)));
        return 1;
    default: return 0;
    }
}
