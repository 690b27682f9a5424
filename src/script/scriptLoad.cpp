// Loading a compiled script: the container is read whole, checked, and turned into a script
// record with its event thread and the threads the file declares.
#include <algorithm>

#include "input/fwkInput.h"
#include "script/scriptInternal.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

constexpr int32_t kFileLimit = 64 * 1024 * 1024;

objEntry ObjectFrom(const vmcObject& declared) {
  objEntry object;
  object.name = declared.name;
  object.kind = declared.kind;
  object.display = declared.display;
  object.layer = declared.layer;
  object.hidden = declared.hidden;
  object.declaration = declared;
  return object;
}

}  // namespace

int32_t ScriptOpenBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  vmcProgram program;
  std::string reason;
  if (!VmcRead(bytes, program, reason) || !ScriptDeclarationsFit(program, reason)) {
    LogError("ScriptOpen - Invalid script file \"" + fileName + "\": " + reason + ".");
    return 0;
  }
  script loaded;
  loaded.fileName = fileName;
  loaded.cameraChildren = ScriptCameraChildCount(program.objects);
  loaded.version = program.version;
  loaded.routineNames = std::move(program.routineNames);
  loaded.code = std::move(program.code);
  loaded.eventEntry = program.eventEntry;
  loaded.hasEventHandler = program.hasEventHandler;
  for (size_t i = 0; i < program.objects.size(); ++i) {
    loaded.objects.push_back(ObjectFrom(program.objects[i]));
    loaded.drawOrder.push_back(drawEntry{program.objects[i].layer, static_cast<int32_t>(i)});
  }
  ScriptSortDrawOrder(loaded.drawOrder);
  loaded.controlSet =
      InputControlSetFind(program.controlSet.empty() ? "Menu Controls" : program.controlSet);
  const int32_t id = ScriptAdd(std::move(loaded));
  const int32_t index = ScriptFind(id);
  ScriptAt(index)->loading = true;
  ScriptObjectsBuild(index);
  ScriptAt(index)->loading = false;
  // What the objects hold is known only once built: texts set by their properties, mats read.
  if (!ScriptAt(index)->refusal.empty()) {
    reason = ScriptAt(index)->refusal;
    ScriptClose(id);
    LogError("ScriptOpen - Invalid script file \"" + fileName + "\": " + reason + ".");
    return 0;
  }
  // Declared threads wait as freshly forked ones do: the next step's scheduling pass starts them.
  for (int32_t entry : program.threadEntries) {
    scriptThread* thread = ScriptThreadAt(index, ScriptThreadNew(index));
    thread->suspended = true;
    thread->running = true;
    thread->resumePosition = entry;
  }
  return id;
}

int32_t ScriptOpen(const std::string& fileName) {
  const int32_t file = DataFileOpen(fileName);
  if (file == 0) {
    LogError("ScriptOpen - Unable to open script file \"" + fileName + "\".");
    return 0;
  }
  const int32_t size = DataFileSize(file);
  if (size > kFileLimit) {
    DataFileClose(file);
    LogError("ScriptOpen - Invalid script file \"" + fileName + "\": file too large.");
    return 0;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)));
  const int32_t read = bytes.empty() ? 0 : DataFileReadPartial(file, bytes.data(), size);
  DataFileClose(file);
  bytes.resize(static_cast<size_t>(std::max(read, 0)));
  return ScriptOpenBytes(fileName, bytes);
}
