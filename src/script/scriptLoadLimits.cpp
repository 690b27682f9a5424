// The limits a file's declarations are checked against before anything is built from them:
// cameras' children (each child name counts once per object it names), frames, models
// and different mat files. Counting is linear in the declarations.
#include <unordered_map>
#include <unordered_set>

#include "script/scriptInternal.h"

namespace {

bool Fail(std::string& reason, const char* what) {
  reason = what;
  return false;
}

}  // namespace

size_t ScriptCameraChildCount(const std::vector<vmcObject>& objects) {
  std::unordered_map<std::string, size_t> named;
  for (const vmcObject& o : objects) ++named[o.name];
  size_t entries = 0;
  for (const vmcObject& o : objects) {
    if (o.kind != kObjCamera) continue;
    for (const std::string& child : o.children) {
      const auto found = named.find(child);
      if (found != named.end()) entries += found->second;
    }
  }
  return entries;
}

bool ScriptDeclarationsFit(const vmcProgram& program, std::string& reason) {
  size_t frames = 0;
  size_t models = 0;
  std::unordered_set<std::string> mats;
  for (const vmcObject& o : program.objects) {
    for (const vmcFrameSet& set : o.frameSets) {
      frames += set.frames.size();
      for (const vmcFrame& frame : set.frames) {
        models += frame.models.size();
        if (!frame.mat.empty()) mats.insert(frame.mat);
      }
    }
    for (const vmcProperty& property : o.properties)
      if (o.kind == kObjList && property.value.type == kScriptTypeString &&
          property.key.size() == 3 && (property.key[0] | 0x20) == 'm' &&
          (property.key[1] | 0x20) == 'a' && (property.key[2] | 0x20) == 't')
        mats.insert(property.value.string);
  }
  if (frames > kScriptFrameLimit) return Fail(reason, "too many frames");
  if (models > kScriptModelLimit) return Fail(reason, "too many models");
  if (mats.size() > kScriptMatLimit) return Fail(reason, "too many mat files");
  if (ScriptCameraChildCount(program.objects) > kScriptCameraChildLimit)
    return Fail(reason, "too many camera children");
  return true;
}
