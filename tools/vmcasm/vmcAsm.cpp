// Two passes over the parsed lines: the first fixes every statement's size and so every
// label's position, the second writes the bytes. docs/scripts.md is the reference for the
// syntax accepted here.
#include "vmcAsm.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "script/scriptVmc.h"
#include "vmcAsmLex.h"

namespace {

enum class shape {
  none,
  target,
  reference,
  compare,
  arithmetic,
  value,
  routine,
  builtin,
  setAttribute,
  getAttribute
};

struct mnemonic {
  const char* name;
  uint8_t opcode;
  shape form;
};

const mnemonic kMnemonics[] = {
    {"return", 0, shape::none},       {"call", 1, shape::target},
    {"not", 5, shape::reference},     {"jump", 10, shape::target},
    {"jne", 11, shape::compare},      {"jeq", 12, shape::compare},
    {"jge", 13, shape::compare},      {"jlt", 14, shape::compare},
    {"jgt", 15, shape::compare},      {"jle", 16, shape::compare},
    {"move", 17, shape::arithmetic},  {"add", 18, shape::arithmetic},
    {"sub", 19, shape::arithmetic},   {"and", 20, shape::arithmetic},
    {"or", 21, shape::arithmetic},    {"mul", 22, shape::arithmetic},
    {"div", 23, shape::arithmetic},   {"mod", 24, shape::arithmetic},
    {"push", 25, shape::value},       {"pop", 26, shape::none},
    {"callapp", 31, shape::routine},  {"builtin", 32, shape::builtin},
    {"set", 33, shape::setAttribute}, {"get", 34, shape::getAttribute},
    {"nop", 35, shape::none},         {"yield", 36, shape::none},
    {"fork", 37, shape::target},
};

const std::pair<const char*, int32_t> kKinds[] = {
    {"button", 0},  {"box", 1},    {"screen", 2}, {"image", 3}, {"label", 4}, {"list", 5},
    {"pointer", 6}, {"slider", 7}, {"mat", 8},    {"atex", 10}, {"app", 11},  {"camera", 12},
};

enum class operandKind { literal, reference, name };

struct operand {
  operandKind kind = operandKind::literal;
  parameter literal;
  uint8_t mode = 0;
  int32_t n = 0;
  std::string name;
};

enum class statementKind { instruction, bytes, int16s, int32s, literal };

struct statement {
  int line = 0;
  statementKind kind = statementKind::instruction;
  const mnemonic* op = nullptr;
  std::vector<operand> operands;
  int32_t position = 0;
};

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::optional<int64_t> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  int base = 10;
  if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size() || text.size() - i > 16) return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str() + i, &end, base);
  if (end != text.c_str() + text.size() || text[i] == '-' || text[i] == '+') return std::nullopt;
  return negative ? -value : value;
}

class assembler {
 public:
  assembler(const std::string& fileName, std::vector<std::string>& errors)
      : file_(fileName), errors_(errors) {}

  void Line(const std::string& text, int line) {
    line_ = line;
    std::vector<vmcToken> tokens;
    std::string error;
    if (!VmcLexLine(text, tokens, error)) return Error(error);
    if (tokens.empty()) return;
    size_t first = 0;
    if (tokens[0].kind == vmcTokenKind::label) {
      if (object_) return Error("label inside an object declaration");
      if (labels_.count(tokens[0].text) != 0)
        return Error("label " + tokens[0].text + " defined twice");
      labels_[tokens[0].text] = static_cast<int32_t>(statements_.size());
      first = 1;
    }
    if (first >= tokens.size()) return;
    if (tokens[first].kind != vmcTokenKind::word)
      return Error("a line starts with an instruction or directive");
    const std::string word = Lower(tokens[first].text);
    std::vector<std::vector<vmcToken>> groups;
    if (!Groups(tokens, first + 1, groups)) return;
    if (object_) return ObjectLine(word, groups);
    if (!word.empty() && word[0] == '.') return Directive(word, groups);
    Instruction(word, groups);
  }

  bool Finish(std::vector<uint8_t>& out) {
    if (object_) {
      line_ = objectLine_;
      Error(".object without .end");
    }
    if (!errors_.empty()) return false;
    Layout();
    // Sizing resolves every literal operand; writing would only repeat its messages.
    if (!errors_.empty()) return false;
    vmcProgram program;
    program.version = version_.value_or(9);
    program.routineNames = routines_;
    program.controlSet = controlSet_;
    program.objects = objects_;
    for (statement& s : statements_) Emit(s, program.code);
    if (event_) {
      program.hasEventHandler = true;
      program.eventEntry = LabelPosition(event_->first, event_->second);
    }
    for (const auto& [name, line] : threads_)
      program.threadEntries.push_back(LabelPosition(name, line));
    if (program.code.size() > kVmcCodeLimit) {
      line_ = statements_.back().line;
      Error("code longer than " + std::to_string(kVmcCodeLimit) + " bytes");
    }
    for (size_t i = 0; i < threads_.size(); ++i)
      CheckEntry(program.threadEntries[i], threads_[i].second);
    if (event_) CheckEntry(program.eventEntry, event_->second);
    if (!errors_.empty()) return false;
    out = VmcWrite(program);
    return true;
  }

 private:
  void Error(const std::string& message) {
    if (errors_.size() < 100)
      errors_.push_back(file_ + ":" + std::to_string(line_) + ": " + message);
  }

  void CheckEntry(int32_t entry, int line) {
    if (entry >= static_cast<int32_t>(codeSize_)) {
      line_ = line;
      Error("an entry point lies at the end of the code, where nothing follows");
    }
  }

  bool Groups(const std::vector<vmcToken>& tokens, size_t from,
              std::vector<std::vector<vmcToken>>& groups) {
    std::vector<vmcToken> group;
    for (size_t i = from; i < tokens.size(); ++i) {
      if (tokens[i].kind == vmcTokenKind::comma) {
        if (group.empty()) {
          Error("empty operand before a comma");
          return false;
        }
        groups.push_back(group);
        group.clear();
      } else {
        group.push_back(tokens[i]);
      }
    }
    if (!group.empty())
      groups.push_back(group);
    else if (from < tokens.size()) {
      Error("operand missing after the last comma");
      return false;
    }
    return true;
  }

  // One token per operand; words that are not numbers or true/false stay names.
  bool Operand(const std::vector<vmcToken>& group, operand& result) {
    if (group.size() != 1) {
      Error("operands are separated by commas");
      return false;
    }
    const vmcToken& token = group[0];
    if (token.kind == vmcTokenKind::string) {
      result.literal = ScriptString(token.text);
      return true;
    }
    if (token.kind == vmcTokenKind::reference) return Reference(token.text, result);
    const std::string lower = Lower(token.text);
    if (lower == "true" || lower == "false") {
      result.literal = ScriptBoolean(lower == "true");
      return true;
    }
    if (const std::optional<int64_t> number = Number(token.text)) {
      if (*number < INT32_MIN || *number > static_cast<int64_t>(UINT32_MAX)) {
        Error("number " + token.text + " does not fit 32 bits");
        return false;
      }
      result.literal = ScriptInteger(static_cast<int32_t>(static_cast<uint32_t>(*number)));
      return true;
    }
    result.kind = operandKind::name;
    result.name = token.text;
    return true;
  }

  bool Reference(const std::string& inner, operand& result) {
    std::string text;
    for (char c : inner)
      if (c != ' ' && c != '\t') text += c;
    result.kind = operandKind::reference;
    const std::string lower = Lower(text);
    std::optional<int64_t> n;
    if (lower == "base") {
      result.mode = 2;
      n = 0;
    } else if (lower.rfind("base+", 0) == 0 || lower.rfind("base-", 0) == 0) {
      result.mode = lower[4] == '+' ? 2 : 1;
      n = Number(text.substr(5));
      if (n && *n < 0) n.reset();
    } else if (const size_t colon = text.find(':'); colon != std::string::npos) {
      const std::optional<int64_t> mode = Number(text.substr(0, colon));
      n = Number(text.substr(colon + 1));
      if (!mode || *mode < 0 || *mode > 255)
        n.reset();
      else
        result.mode = static_cast<uint8_t>(*mode);
    } else {
      n = Number(text);
    }
    if (!n || *n < INT32_MIN || *n > INT32_MAX) {
      Error("bad stack reference [" + inner + "]");
      return false;
    }
    result.n = static_cast<int32_t>(*n);
    return true;
  }

  bool Operands(const std::vector<std::vector<vmcToken>>& groups, size_t count,
                std::vector<operand>& out, const std::string& what) {
    if (groups.size() != count) {
      Error(what + " takes " + std::to_string(count) + " operand" + (count == 1 ? "" : "s"));
      return false;
    }
    for (const auto& group : groups) {
      operand one;
      if (!Operand(group, one)) return false;
      out.push_back(one);
    }
    return true;
  }

  void Instruction(const std::string& word, const std::vector<std::vector<vmcToken>>& groups) {
    const mnemonic* op = nullptr;
    for (const mnemonic& m : kMnemonics)
      if (word == m.name) op = &m;
    if (op == nullptr) return Error("unknown instruction " + word);
    statement s;
    s.line = line_;
    s.op = op;
    static const size_t counts[] = {0, 1, 1, 3, 2, 1, 1, 1, 3, 2};
    size_t count = counts[static_cast<int>(op->form)];
    // A list's item attributes take the item's index as one more operand.
    const bool attribute = op->form == shape::setAttribute || op->form == shape::getAttribute;
    if (attribute && groups.size() == count + 1) ++count;
    if (attribute && groups.size() != count)
      return Error(word + " takes " + std::to_string(count) + " operands (" +
                   std::to_string(count + 1) + " with a list item's index)");
    if (!Operands(groups, count, s.operands, word)) return;
    const std::vector<operand>& o = s.operands;
    switch (op->form) {
      case shape::reference:
        if (o[0].kind != operandKind::reference) return Error("not takes a stack reference");
        break;
      case shape::arithmetic:
        if (o[1].kind != operandKind::reference)
          return Error(word + " needs a stack reference as destination");
        break;
      case shape::target:
      case shape::routine:
      case shape::builtin:
        if (o[0].kind == operandKind::reference) return Error(word + " takes no stack reference");
        break;
      case shape::compare:
        if (o[2].kind == operandKind::reference)
          return Error("a jump target is a label or a number");
        break;
      case shape::setAttribute:
      case shape::getAttribute:
        if (o[0].kind == operandKind::reference || o[1].kind == operandKind::reference)
          return Error(word + " takes an object and an attribute first");
        break;
      default: break;
    }
    if (op->form == shape::routine && o[0].kind == operandKind::name) RoutineIndex(o[0].name);
    statements_.push_back(s);
  }

  int32_t RoutineIndex(const std::string& name) {
    for (size_t i = 0; i < routines_.size(); ++i)
      if (routines_[i] == name) return static_cast<int32_t>(i);
    routines_.push_back(name);
    return static_cast<int32_t>(routines_.size()) - 1;
  }

  std::optional<std::string> OneText(const std::vector<std::vector<vmcToken>>& groups,
                                     const std::string& what) {
    if (groups.size() != 1 || groups[0].size() != 1 ||
        groups[0][0].kind == vmcTokenKind::reference) {
      Error(what + " takes one name or string");
      return std::nullopt;
    }
    return groups[0][0].text;
  }

  void Directive(const std::string& word, const std::vector<std::vector<vmcToken>>& groups) {
    if (word == ".version") {
      std::vector<operand> o;
      if (!Operands(groups, 1, o, word)) return;
      if (o[0].kind != operandKind::literal || o[0].literal.type != kScriptTypeInteger)
        return Error(".version takes a number");
      if (version_) return Error(".version given twice");
      if (!statements_.empty()) return Error(".version comes before the code");
      version_ = o[0].literal.integer;
    } else if (word == ".event") {
      const std::optional<std::string> name = OneText(groups, word);
      if (!name) return;
      if (event_) return Error(".event given twice");
      event_ = std::make_pair(*name, line_);
    } else if (word == ".thread") {
      if (const std::optional<std::string> name = OneText(groups, word))
        threads_.emplace_back(*name, line_);
    } else if (word == ".routine") {
      if (const std::optional<std::string> name = OneText(groups, word)) RoutineIndex(*name);
    } else if (word == ".controlset") {
      if (const std::optional<std::string> name = OneText(groups, word)) controlSet_ = *name;
    } else if (word == ".const") {
      if (groups.size() != 2 || groups[0].size() != 1 || groups[0][0].kind != vmcTokenKind::word)
        return Error(".const takes a name, a comma and a value");
      operand value;
      if (!Operand(groups[1], value)) return;
      if (value.kind == operandKind::reference)
        return Error("a constant is a number, true, false or a string");
      if (value.kind == operandKind::name) {
        const auto known = consts_.find(value.name);
        if (known == consts_.end()) return Error("unknown constant " + value.name);
        value.literal = known->second;
      }
      if (consts_.count(groups[0][0].text) != 0)
        return Error("constant " + groups[0][0].text + " defined twice");
      consts_[groups[0][0].text] = value.literal;
    } else if (word == ".object") {
      if (groups.size() != 2 || groups[0].size() != 1 || groups[1].size() != 1)
        return Error(".object takes a name, a comma and a kind");
      vmcObject object;
      object.name = groups[0][0].text;
      const std::string kind = Lower(groups[1][0].text);
      bool found = false;
      for (const auto& [name, number] : kKinds) {
        if (kind == name) {
          object.kind = number;
          found = true;
        }
      }
      if (const std::optional<int64_t> number = Number(kind);
          !found && number && *number >= INT32_MIN && *number <= INT32_MAX) {
        object.kind = static_cast<int32_t>(*number);
        found = true;
      }
      if (!found) return Error("unknown object kind " + groups[1][0].text);
      for (const vmcObject& earlier : objects_)
        if (earlier.name == object.name) return Error("object " + object.name + " declared twice");
      if (objects_.size() >= kVmcObjectLimit) return Error("too many objects");
      objects_.push_back(object);
      object_ = true;
      objectLine_ = line_;
    } else if (word == ".end") {
      Error(".end without .object");
    } else if (word == ".byte" || word == ".int16" || word == ".int32" || word == ".literal") {
      statement s;
      s.line = line_;
      s.kind = word == ".byte"    ? statementKind::bytes
               : word == ".int16" ? statementKind::int16s
               : word == ".int32" ? statementKind::int32s
                                  : statementKind::literal;
      if (groups.empty()) return Error(word + " needs at least one value");
      if (s.kind == statementKind::literal && groups.size() != 1)
        return Error(".literal takes one value");
      for (const auto& group : groups) {
        operand one;
        if (!Operand(group, one)) return;
        if (one.kind == operandKind::reference) return Error(word + " takes no stack reference");
        s.operands.push_back(one);
      }
      statements_.push_back(s);
    } else {
      Error("unknown directive " + word);
    }
  }

  void ObjectLine(const std::string& word, const std::vector<std::vector<vmcToken>>& groups) {
    vmcObject& object = objects_.back();
    if (word == ".end") {
      if (!groups.empty()) return Error(".end takes nothing");
      object_ = false;
      return;
    }
    std::vector<operand> o;
    auto integer = [&](int32_t& field, int32_t low, int32_t high) {
      if (!Operands(groups, 1, o, word)) return;
      const parameter value = Resolve(o[0]);
      if (o[0].kind == operandKind::reference || value.type != kScriptTypeInteger ||
          value.integer < low || value.integer > high)
        return Error(word + " takes a number from " + std::to_string(low) + " to " +
                     std::to_string(high));
      field = value.integer;
    };
    auto text = [&](std::string& field) {
      if (!Operands(groups, 1, o, word)) return false;
      const parameter value = Resolve(o[0]);
      if (o[0].kind == operandKind::reference || value.type != kScriptTypeString) {
        Error(word + " takes a string");
        return false;
      }
      field = value.string;
      return true;
    };
    auto frame = [&]() -> vmcFrame* {
      if (object.frameSets.empty() || object.frameSets.back().frames.empty()) {
        Error(word + " belongs to a frame: write frame first");
        return nullptr;
      }
      return &object.frameSets.back().frames.back();
    };
    if (word == "layer") {
      integer(object.layer, INT32_MIN, INT32_MAX);
    } else if (word == "display") {
      int32_t display = 0;
      integer(display, 0, 255);
      object.display = static_cast<uint8_t>(display);
    } else if (word == "hidden") {
      if (!groups.empty()) return Error("hidden takes nothing");
      object.hidden = true;
    } else if (word == "font") {
      text(object.font);
    } else if (word == "prop") {
      if (groups.size() != 2 || groups[0].size() != 1 ||
          groups[0][0].kind == vmcTokenKind::reference)
        return Error("prop takes a key, a comma and a value");
      operand value;
      if (!Operand(groups[1], value)) return;
      if (value.kind == operandKind::reference)
        return Error("a property value is a number, true, false or a string");
      object.properties.push_back(vmcProperty{groups[0][0].text, Resolve(value)});
    } else if (word == "frameset") {
      if (!groups.empty()) return Error("frameset takes nothing");
      if (object.frameSets.size() >= 255) return Error("too many frame sets");
      object.frameSets.emplace_back();
    } else if (word == "frame") {
      if (object.frameSets.empty())
        return Error("frame belongs to a frame set: write frameset first");
      vmcFrame added;
      if (text(added.name)) object.frameSets.back().frames.push_back(added);
    } else if (word == "alias" || word == "model") {
      std::string value;
      vmcFrame* target = frame();
      if (target != nullptr && text(value))
        (word == "alias" ? target->names : target->models).push_back(value);
    } else if (word == "mat") {
      vmcFrame* target = frame();
      if (target != nullptr) text(target->mat);
    } else if (word == "child") {
      if (const std::optional<std::string> name = OneText(groups, word))
        object.children.push_back(*name);
    } else {
      Error("unknown object line " + word + " (or .end missing)");
    }
  }

  // A literal, or the value of a named constant (a literal 0 for other names).
  parameter Resolve(const operand& o) {
    if (o.kind != operandKind::name) return o.literal;
    const auto known = consts_.find(o.name);
    if (known == consts_.end()) {
      Error("unknown constant " + o.name);
      return ScriptInteger(0);
    }
    return known->second;
  }

  size_t LiteralSize(const parameter& value) {
    if (value.type == kScriptTypeInteger) return 5;
    if (value.type == kScriptTypeBoolean) return 2;
    const size_t limit = version_.value_or(9) < 9 ? 255 : 65535;
    if (value.string.size() > limit)
      Error("string longer than " + std::to_string(limit) + " characters");
    return 1 + (limit == 255 ? 1 : 2) + value.string.size();
  }

  size_t ValueSize(const operand& o) {
    return o.kind == operandKind::reference ? 5 : LiteralSize(Resolve(o));
  }

  size_t Size(const statement& s) {
    line_ = s.line;
    const std::vector<operand>& o = s.operands;
    switch (s.kind) {
      case statementKind::bytes: return o.size();
      case statementKind::int16s: return 2 * o.size();
      case statementKind::int32s: return 4 * o.size();
      case statementKind::literal: return LiteralSize(Resolve(o[0]));
      default: break;
    }
    switch (s.op->form) {
      case shape::none: return 1;
      case shape::target: return 5;
      case shape::reference: return 6;
      case shape::compare: return 1 + ValueSize(o[0]) + ValueSize(o[1]) + 4;
      case shape::arithmetic: return 1 + ValueSize(o[0]) + 5;
      case shape::value: return 1 + ValueSize(o[0]);
      case shape::routine:
      case shape::builtin: return 3;
      case shape::setAttribute: return 4 + ValueSize(o[2]) + (o.size() == 4 ? 5 : 0);
      case shape::getAttribute: return 4 + (o.size() == 3 ? 5 : 0);
    }
    return 1;
  }

  void Layout() {
    size_t position = 0;
    for (statement& s : statements_) {
      s.position = static_cast<int32_t>(std::min(position, static_cast<size_t>(INT32_MAX)));
      position += Size(s);
    }
    codeSize_ = position;
  }

  int32_t LabelPosition(const std::string& name, int line) {
    const auto found = labels_.find(name);
    if (found == labels_.end()) {
      line_ = line;
      Error("unknown label " + name);
      return 0;
    }
    const size_t index = static_cast<size_t>(found->second);
    return index < statements_.size() ? statements_[index].position
                                      : static_cast<int32_t>(codeSize_);
  }

  int32_t Target(const operand& o) {
    if (o.kind == operandKind::name) {
      if (consts_.count(o.name) != 0) return ScriptValueToInt(consts_[o.name]);
      return LabelPosition(o.name, line_);
    }
    if (o.literal.type != kScriptTypeInteger) Error("a jump target is a label or a number");
    return o.literal.integer;
  }

  int64_t Ranged(const operand& o, int64_t low, int64_t high, const std::string& what) {
    const parameter value = Resolve(o);
    if (value.type != kScriptTypeInteger || value.integer < low || value.integer > high) {
      Error(what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high));
      return 0;
    }
    return value.integer;
  }

  int32_t ObjectIndex(const operand& o) {
    const bool named = o.kind == operandKind::name && consts_.count(o.name) == 0;
    if (named || o.literal.type == kScriptTypeString) {
      const std::string& name = named ? o.name : o.literal.string;
      for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].name == name) return static_cast<int32_t>(i);
      Error("unknown object " + name);
      return 0;
    }
    return static_cast<int32_t>(Ranged(o, 0, 65535, "an object index"));
  }

  // The index reference of a list item attribute: a stack reference keeps its mode (0, 1, 2,
  // or the raw form's), a number or numeric constant is mode 3, the number itself.
  void PutItemIndex(std::vector<uint8_t>& code, const operand& o) {
    if (o.kind == operandKind::reference) {
      Put8(code, o.mode);
      Put32(code, o.n);
      return;
    }
    const parameter value = Resolve(o);
    if (value.type != kScriptTypeInteger)
      Error("a list item's index is a number or a stack reference");
    Put8(code, 3);
    Put32(code, value.integer);
  }

  // The item index is there exactly when the attribute of that object's kind names an item.
  void CheckItemIndex(const std::vector<operand>& o, int32_t object, int32_t attribute, bool set) {
    const bool given = o.size() == (set ? 4u : 3u);
    const bool wanted =
        object >= 0 && static_cast<size_t>(object) < objects_.size() &&
        VmcAttributeTakesItem(objects_[static_cast<size_t>(object)].kind, attribute, set);
    if (wanted && !given)
      Error("list attribute " + std::to_string(attribute) + " names an item: add its index");
    if (given && !wanted)
      Error("attribute " + std::to_string(attribute) + " of this object takes no item index");
  }

  int32_t Attribute(const operand& o) {
    if (o.kind == operandKind::name && Lower(o.name) == "layer") return 255;
    return static_cast<int32_t>(Ranged(o, 0, 255, "an attribute"));
  }

  void Put8(std::vector<uint8_t>& code, uint32_t value) {
    code.push_back(static_cast<uint8_t>(value));
  }
  void Put16(std::vector<uint8_t>& code, uint32_t value) {
    Put8(code, value);
    Put8(code, value >> 8);
  }
  void Put32(std::vector<uint8_t>& code, int32_t value) {
    const uint32_t raw = static_cast<uint32_t>(value);
    Put16(code, raw);
    Put16(code, raw >> 16);
  }

  void PutLiteral(std::vector<uint8_t>& code, const parameter& value) {
    Put8(code, static_cast<uint32_t>(value.type));
    if (value.type == kScriptTypeInteger) Put32(code, value.integer);
    if (value.type == kScriptTypeBoolean) Put8(code, value.boolean);
    if (value.type != kScriptTypeString) return;
    if (version_.value_or(9) < 9) {
      Put8(code, static_cast<uint32_t>(value.string.size()));
    } else {
      Put16(code, static_cast<uint32_t>(value.string.size()));
    }
    code.insert(code.end(), value.string.begin(), value.string.end());
  }

  void PutValue(std::vector<uint8_t>& code, const operand& o) {
    if (o.kind == operandKind::reference) {
      Put8(code, o.mode);
      Put32(code, o.n);
    } else {
      PutLiteral(code, Resolve(o));
    }
  }

  void Emit(const statement& s, std::vector<uint8_t>& code) {
    line_ = s.line;
    const std::vector<operand>& o = s.operands;
    if (code.size() > kVmcCodeLimit) return;
    switch (s.kind) {
      case statementKind::bytes:
        for (const operand& one : o)
          Put8(code, static_cast<uint32_t>(Ranged(one, -128, 255, "a byte")));
        return;
      case statementKind::int16s:
        for (const operand& one : o)
          Put16(code, static_cast<uint32_t>(Ranged(one, -32768, 65535, "an int16")));
        return;
      case statementKind::int32s:
        for (const operand& one : o) Put32(code, Target(one));
        return;
      case statementKind::literal: PutLiteral(code, Resolve(o[0])); return;
      default: break;
    }
    uint8_t byte = s.op->opcode;
    const shape form = s.op->form;
    if (form == shape::reference) byte |= 0x40;
    if ((form == shape::compare || form == shape::arithmetic || form == shape::value) &&
        o[0].kind == operandKind::reference)
      byte |= 0x40;
    if (form == shape::setAttribute && o[2].kind == operandKind::reference) byte |= 0x40;
    if ((form == shape::compare && o[1].kind == operandKind::reference) ||
        form == shape::arithmetic)
      byte |= 0x80;
    Put8(code, byte);
    switch (form) {
      case shape::none: break;
      case shape::target: Put32(code, Target(o[0])); break;
      case shape::reference: PutValue(code, o[0]); break;
      case shape::compare:
        PutValue(code, o[0]);
        PutValue(code, o[1]);
        Put32(code, Target(o[2]));
        break;
      case shape::arithmetic:
      case shape::value:
        for (const operand& one : o) PutValue(code, one);
        break;
      case shape::routine:
        Put16(code,
              static_cast<uint32_t>(o[0].kind == operandKind::name && consts_.count(o[0].name) == 0
                                        ? RoutineIndex(o[0].name)
                                        : Ranged(o[0], 0, 65535, "a routine index")));
        break;
      case shape::builtin:
        Put16(code, static_cast<uint32_t>(Ranged(o[0], 0, 65535, "a built-in number")));
        break;
      case shape::setAttribute:
      case shape::getAttribute: {
        const bool set = form == shape::setAttribute;
        const int32_t object = ObjectIndex(o[0]);
        const int32_t attribute = Attribute(o[1]);
        CheckItemIndex(o, object, attribute, set);
        Put16(code, static_cast<uint32_t>(object));
        Put8(code, static_cast<uint32_t>(attribute));
        if (set) PutValue(code, o[2]);
        if (o.size() == (set ? 4u : 3u)) PutItemIndex(code, o.back());
        break;
      }
    }
  }

  std::string file_;
  std::vector<std::string>& errors_;
  int line_ = 0;
  std::optional<int32_t> version_;
  std::vector<statement> statements_;
  std::map<std::string, int32_t> labels_;
  std::map<std::string, parameter> consts_;
  std::vector<std::string> routines_;
  std::optional<std::pair<std::string, int>> event_;
  std::vector<std::pair<std::string, int>> threads_;
  std::vector<vmcObject> objects_;
  std::string controlSet_;
  bool object_ = false;
  int objectLine_ = 0;
  size_t codeSize_ = 0;
};

}  // namespace

bool VmcAssemble(const std::string& text, const std::string& fileName, std::vector<uint8_t>& out,
                 std::vector<std::string>& errors) {
  errors.clear();
  out.clear();
  assembler program(fileName, errors);
  size_t start = 0;
  int line = 1;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    program.Line(text.substr(start, end - start), line);
    start = end + 1;
    ++line;
  }
  return program.Finish(out);
}
