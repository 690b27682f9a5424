// The ".vmc" container and its loader: what a loaded script holds, files read through the
// data files, and containers that are not well formed.
#include <filesystem>
#include <fstream>

#include "script/ScriptTestSupport.h"
#include "script/scriptVmc.h"
#include "services/fwkDataFile.h"

namespace {

using Loading = ScriptTest;

const char* kDeclared = R"(
.version 9
.controlset "Menu Controls"
.routine First
.object "okButton", button
    layer 5
    display 1
    font "Bin\\Fonts\\Menu.fot"
    prop text, "OK"
    frameset
    frame "up"
    model "Bin\\Sprites\\ok up.tga"
    mat "Bin\\Mats\\ok.mat"
    frame "down"
    alias "pressed"
    model "Bin\\Sprites\\ok down.tga"
.end
.object back, box
    layer -2
    hidden
.end
.object middle, 1
    layer 5
.end
.event handler
handler:
    get okButton, layer
    get back, layer
    get middle, 255
    callapp Report
    pop
    callapp Report
    pop
    callapp Report
    pop
    set back, layer, 9
    get back, layer
    callapp Report
    pop
    return
)";

TEST_F(Loading, AssembledDeclarationsSurviveTheContainer) {
  const std::vector<uint8_t> bytes = Assemble(kDeclared);
  vmcProgram program;
  std::string reason;
  ASSERT_TRUE(VmcRead(bytes, program, reason)) << reason;
  EXPECT_EQ(program.version, 9);
  EXPECT_EQ(program.controlSet, "Menu Controls");
  EXPECT_EQ(program.routineNames, (std::vector<std::string>{"First", "Report"}));
  ASSERT_EQ(program.objects.size(), 3u);
  const vmcObject& ok = program.objects[0];
  EXPECT_EQ(ok.name, "okButton");
  EXPECT_EQ(ok.kind, 0);
  EXPECT_EQ(ok.layer, 5);
  EXPECT_EQ(ok.display, 1);
  EXPECT_EQ(ok.font, "Bin\\Fonts\\Menu.fot");
  ASSERT_EQ(ok.properties.size(), 1u);
  EXPECT_EQ(ok.properties[0].key, "text");
  EXPECT_EQ(Describe(ok.properties[0].value), "s:OK");
  ASSERT_EQ(ok.frameSets.size(), 1u);
  ASSERT_EQ(ok.frameSets[0].frames.size(), 2u);
  EXPECT_EQ(ok.frameSets[0].frames[0].models,
            (std::vector<std::string>{"Bin\\Sprites\\ok up.tga"}));
  EXPECT_EQ(ok.frameSets[0].frames[0].mat, "Bin\\Mats\\ok.mat");
  EXPECT_EQ(ok.frameSets[0].frames[1].names, (std::vector<std::string>{"pressed"}));
  EXPECT_TRUE(program.objects[1].hidden);
  EXPECT_EQ(program.objects[2].kind, 1);
  EXPECT_TRUE(program.hasEventHandler);
  EXPECT_EQ(program.eventEntry, 0);
  // Written again, the container is the same bytes.
  EXPECT_EQ(VmcWrite(program), bytes);
}

TEST_F(Loading, LayersAreObjectAttributesAndKeepTheDrawOrder) {
  const int32_t id = Load(kDeclared);
  ScriptRoutineRun(id, 1, "go");
  EXPECT_EQ(reported, (std::vector<std::string>{"i:5", "i:-2", "i:5", "i:9"}));
  EXPECT_EQ(ScriptDrawOrderNames(id), (std::vector<std::string>{"okButton", "middle", "back"}));
}

TEST_F(Loading, IdsRiseAndClosingKeepsTheOthersInOrder) {
  EXPECT_EQ(ScriptFind(0), -1);
  const int32_t a = Load(".thread t\nt:\n return\n", "a.vmc");
  const int32_t b = Load(".thread t\nt:\n return\n", "b.vmc");
  const int32_t c = Load(".thread t\nt:\n return\n", "c.vmc");
  EXPECT_EQ(b, a + 1);
  EXPECT_EQ(c, b + 1);
  EXPECT_EQ(ScriptFind(0), -1);
  ScriptClose(b);
  EXPECT_EQ(ScriptFind(b), -1);
  EXPECT_EQ(ScriptFind(a), 0);
  EXPECT_EQ(ScriptFind(c), 1);
  EXPECT_EQ(ScriptFileName(c), "c.vmc");
  const int32_t d = Load(".thread t\nt:\n return\n", "d.vmc");
  EXPECT_EQ(d, c + 1);
  EXPECT_EQ(ScriptFind(d), 2);
  // Unknown ids do nothing.
  ScriptStep(b);
  ScriptRoutineRun(b, 1, "x");
  ScriptThreadResume(b, -1);
  ScriptClose(b);
  EXPECT_FALSE(ScriptIsWaiting(b));
}

TEST_F(Loading, FilesComeThroughTheDataFiles) {
  DataFileInit();
  std::filesystem::create_directories(box.app + "Bin/Scripts");
  const std::vector<uint8_t> bytes =
      Assemble(".thread t\nt:\n push \"from disk\"\n callapp Report\n return\n");
  std::ofstream(box.app + "Bin/Scripts/Map1.vmc", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const int32_t id = ScriptOpen("Bin\\Scripts\\Map1.vmc");
  ASSERT_GT(id, 0);
  ScriptStep(id);
  EXPECT_EQ(reported, (std::vector<std::string>{"s:from disk"}));
  EXPECT_EQ(ScriptOpen("Bin\\Scripts\\Map2.vmc"), 0);
  EXPECT_EQ(LogLines().back(),
            "Error: ScriptOpen - Unable to open script file \"Bin\\Scripts\\Map2.vmc\".");
  DataFileCloseAll();
}

std::vector<uint8_t> Header(int32_t version) {
  std::vector<uint8_t> bytes = {'V', 'M', 'C', 0x1A, 1, 0};
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(version) >> shift));
  return bytes;
}

void Chunk(std::vector<uint8_t>& bytes, const char* tag, const std::vector<uint8_t>& body) {
  bytes.insert(bytes.end(), tag, tag + 4);
  const uint32_t length = static_cast<uint32_t>(body.size());
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<uint8_t>(length >> shift));
  bytes.insert(bytes.end(), body.begin(), body.end());
}

TEST_F(Loading, MalformedContainersAreRefusedWithTheirReason) {
  struct badCase {
    std::vector<uint8_t> bytes;
    const char* reason;
  };
  std::vector<badCase> cases;
  cases.push_back({{'V', 'M', 'C'}, "not a compiled script"});
  cases.push_back({{'V', 'M', 'C', 0x1A, 2, 0, 9, 0, 0, 0}, "unknown container format"});
  cases.push_back({{'V', 'M', 'C', 0x1A, 1, 0, 9}, "truncated header"});
  std::vector<uint8_t> truncated = Header(9);
  Chunk(truncated, "CODE", {0, 0, 0});
  truncated.pop_back();
  cases.push_back({truncated, "truncated chunk"});
  std::vector<uint8_t> twice = Header(9);
  Chunk(twice, "CODE", {0});
  Chunk(twice, "CODE", {0});
  cases.push_back({twice, "chunk CODE twice"});
  std::vector<uint8_t> entry = Header(9);
  Chunk(entry, "CODE", {0});
  Chunk(entry, "EVNT", {1, 0, 0, 0});
  cases.push_back({entry, "event entry outside the code"});
  std::vector<uint8_t> thread = Header(9);
  Chunk(thread, "THRD", {1, 0, 0, 0, 0, 0});
  cases.push_back({thread, "thread entry outside the code"});
  std::vector<uint8_t> names = Header(9);
  Chunk(names, "RTNS", {2, 0, 1, 0, 'a'});
  cases.push_back({names, "malformed chunk RTNS"});
  std::vector<uint8_t> extra = Header(9);
  Chunk(extra, "EVNT", {0, 0, 0, 0, 0});
  cases.push_back({extra, "malformed chunk EVNT"});
  for (const badCase& bad : cases) {
    EXPECT_EQ(ScriptOpenBytes("bad.vmc", bad.bytes), 0) << bad.reason;
    EXPECT_EQ(
        LogLines().back(),
        std::string("Error: ScriptOpen - Invalid script file \"bad.vmc\": ") + bad.reason + ".");
  }
  // Chunks the loader does not know are passed over.
  std::vector<uint8_t> unknown = Header(9);
  Chunk(unknown, "NOTE", {1, 2, 3});
  Chunk(unknown, "CODE", {35});
  EXPECT_GT(ScriptOpenBytes("unknown.vmc", unknown), 0);
}

}  // namespace
