// Limits that keep a hostile script from taking the machine. Per thread: its stack. Per script:
// what all its threads and objects hold together, what its objects may open, and the state
// variables scripts may create. docs/scripts.md gives each with the reason no honest script
// reaches it. Passing one at run time faults the thread; at load it refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct parameter;
struct script;

constexpr size_t kScriptStackLimit = 4096;
constexpr size_t kScriptThreadLimit = 256;
constexpr size_t kScriptStringLimit = 65535;
constexpr size_t kScriptStackTextLimit = 1024 * 1024;

// A list's items, and the text of one list's items.
constexpr int32_t kScriptListItemLimit = 4096;
constexpr size_t kScriptListTextLimit = 1024 * 1024;

// Text the script holds in all: its threads' stacks, its objects' texts and wrapped lines and
// its lists' items, counted by the memory they take.
constexpr size_t kScriptTextLimit = 16u * 1024u * 1024u;
// Entries of all cameras' children together (a child name counts once per object it names).
constexpr size_t kScriptCameraChildLimit = 4096;
// Frames of all frame sets together, and models named by all frames together.
constexpr size_t kScriptFrameLimit = 4096;
constexpr size_t kScriptModelLimit = 4096;
// Different mat files the objects open, the cells of all of them, and the size of one file.
constexpr size_t kScriptMatLimit = 64;
constexpr size_t kScriptMatCellLimit = 32u * 1024u * 1024u;
constexpr int32_t kScriptMatFileLimit = 4 * 1024 * 1024;
// State variables written by scripts (all scripts together: variables outlive their script),
// and the text of their names and string values.
constexpr size_t kScriptStateVariableLimit = 256;
constexpr size_t kScriptStateTextLimit = 256u * 1024u;

// The memory a string holds: its capacity once it has left the inline buffer, else its length.
size_t ScriptTextCost(const std::string& text);
// Gives back the spare capacity of a string about to be stored.
void ScriptTextTrim(std::string& text);
// Puts source's text into target and the old text into source, buffers and all: a plain move of a
// short string copies its characters into target's buffer, which would keep a long one's memory.
void ScriptTextReplace(std::string& target, std::string& source);
void ScriptValueReplace(parameter& target, parameter& source);
// The memory a wrapped line list holds.
size_t ScriptLinesCost(const std::vector<std::string>& lines);

enum class scriptLimit : uint32_t { text = 1, stateVariables = 2, mats = 4 };
// Logs the first time a script passes a run-time limit; the thread's fault is the caller's.
void ScriptLimitReached(script& owner, scriptLimit limit, int32_t threadId);
