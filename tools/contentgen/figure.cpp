#include "figure.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "sources.h"

namespace {

constexpr double kDegree = M_PI / 180;

Point Add(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point Scale(Point a, double s) { return {a.x * s, a.y * s}; }
// Direction of a limb hanging `degrees` forward from straight down.
Point Down(double degrees) { return {std::sin(degrees * kDegree), std::cos(degrees * kDegree)}; }
// Direction `degrees` forward from straight up.
Point Up(double degrees) { return {std::sin(degrees * kDegree), -std::cos(degrees * kDegree)}; }

void ParsePair(const SourceLine& line, const std::string& value, double (&pair)[2]) {
  const size_t comma = value.find(',');
  if (comma == std::string::npos) SourceFail(line, "expected FAR,NEAR: " + value);
  pair[0] = SourceNumber(line, value.substr(0, comma));
  pair[1] = SourceNumber(line, value.substr(comma + 1));
}

void ParsePoseKey(const SourceLine& line, Pose& pose, const std::string& key,
                  const std::string& value) {
  if (key == "th")
    ParsePair(line, value, pose.thigh);
  else if (key == "kn")
    ParsePair(line, value, pose.knee);
  else if (key == "ua")
    ParsePair(line, value, pose.upper);
  else if (key == "el")
    ParsePair(line, value, pose.elbow);
  else if (key == "face")
    pose.face = value;
  else if (key == "flash")
    pose.flash = value != "0";
  else {
    const double v = SourceNumber(line, value);
    if (key == "lean")
      pose.lean = v;
    else if (key == "it")
      pose.item = v;
    else if (key == "cloak")
      pose.cloak = v;
    else if (key == "wing")
      pose.wing = v;
    else if (key == "rot")
      pose.rotate = v;
    else if (key == "hx")
      pose.headX = v;
    else if (key == "hy")
      pose.headY = v;
    else if (key == "dx")
      pose.shiftX = v;
    else if (key == "dy")
      pose.shiftY = v;
    else if (key == "dust")
      pose.dust = static_cast<int>(v);
    else if (key == "blood")
      pose.blood = std::clamp(static_cast<int>(v), 0, 8);
    else if (key == "ash")
      pose.ash = static_cast<int>(v);
    else if (key == "hold") {
      pose.hold = static_cast<int>(v);
      if (pose.hold < 1) SourceFail(line, "hold must be at least 1");
    } else
      SourceFail(line, "unknown pose key: " + key);
  }
}

std::map<std::string, std::string> RoleMap(const SourceLine& line) {
  std::map<std::string, std::string> roles;
  for (const auto& [role, ramp] : SourceKeys(line, 1)) {
    if (ramp == "1") SourceFail(line, "role without a ramp: " + role);
    roles[role] = ramp;
  }
  return roles;
}

}  // namespace

std::map<std::string, Sequence> SequenceLoad(const std::string& path) {
  std::map<std::string, Sequence> sequences;
  Sequence* open = nullptr;
  for (const SourceLine& line : SourceRead(path)) {
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    const std::string& word = line.tokens[0];
    if (word == "sequence" && line.tokens.size() == 2 && !open) {
      open = &sequences[line.tokens[1]];
      open->name = line.tokens[1];
    } else if (word == "end" && open) {
      if (open->frames.empty()) SourceFail(line, "sequence " + open->name + " has no frames");
      open = nullptr;
    } else if (word == "frame" && open) {
      Pose pose, partner;
      double partnerX = 0, partnerTurn = 0;
      bool hasPartner = false;
      for (const auto& [key, value] : SourceKeys(line, 1)) {
        if (key == "vx") {
          partnerX = SourceNumber(line, value);
          hasPartner = true;
        } else if (key == "pale") {
          partnerTurn = SourceNumber(line, value);
          hasPartner = true;
        } else if (key.rfind("v.", 0) == 0) {
          ParsePoseKey(line, partner, key.substr(2), value);
          hasPartner = true;
        } else {
          ParsePoseKey(line, pose, key, value);
        }
      }
      if (hasPartner != !open->partner.empty() && !open->frames.empty())
        SourceFail(line, "every frame of a two-figure sequence names the second figure");
      open->frames.push_back(pose);
      if (hasPartner) {
        open->partner.push_back(partner);
        open->partnerX.push_back(partnerX);
        open->partnerTurn.push_back(partnerTurn);
      }
    } else {
      SourceFail(line, "expected sequence NAME, frame KEY=VALUE... or end");
    }
  }
  if (open) throw SourceError(path + ": sequence " + open->name + " has no end");
  return sequences;
}

std::map<std::string, FigureDef> FigureLoadCast(const std::string& folder,
                                                const std::vector<std::string>& files) {
  std::map<std::string, FigureDef> cast;
  for (const std::string& file : files) {
    FigureDef def;
    for (const SourceLine& line : SourceRead(folder + "/" + file)) {
      if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
      const std::string& word = line.tokens[0];
      const auto keys = SourceKeys(line, 1);
      auto number = [&](const char* key, double& target) {
        if (keys.count(key)) target = SourceNumber(line, keys.at(key));
      };
      if (word == "figure" && line.tokens.size() == 2) {
        def.name = line.tokens[1];
      } else if (word == "body") {
        number("hip", def.hip), number("thigh", def.thigh), number("shin", def.shin);
        number("torso", def.torso), number("neck", def.neck), number("shoulder", def.shoulderWidth);
        number("waist", def.waistWidth), number("leg", def.legWidth), number("arm", def.armWidth);
        number("upper", def.upperArm), number("fore", def.foreArm), number("foot", def.footLength);
        number("hand", def.handSize);
      } else if (word == "look") {
        def.human = RoleMap(line);
      } else if (word == "turned") {
        def.turned = RoleMap(line);
      } else if (word == "legend") {
        for (const auto& [letter, role] : keys) {
          if (letter.size() != 1) SourceFail(line, "a legend entry is one letter: " + letter);
          def.legend[letter[0]] = role;
        }
      } else if (word == "head" && line.tokens.size() >= 2) {
        def.head = line.tokens[1];
        def.turnedHead = line.tokens.size() >= 3 ? line.tokens[2] : def.head;
      } else if (word == "item" && line.tokens.size() >= 2) {
        def.item = line.tokens[1];
        const auto itemKeys = SourceKeys(line, 2);
        if (itemKeys.count("length")) def.itemLength = SourceNumber(line, itemKeys.at("length"));
        if (itemKeys.count("grip")) def.itemGrip = SourceNumber(line, itemKeys.at("grip"));
      } else if (word == "attack" && line.tokens.size() == 2) {
        def.attack = line.tokens[1];
      } else if (word == "robe") {
        def.robe = true;
      } else if (word == "cloak") {
        def.cloak = true;
      } else if (word == "hairback" && line.tokens.size() == 2) {
        def.hairBack = line.tokens[1];
      } else {
        SourceFail(line, "unknown cast line: " + word);
      }
    }
    if (def.name.empty() || def.head.empty())
      throw SourceError(file + ": a figure needs a name and a head");
    cast[def.name] = def;
  }
  return cast;
}

namespace {

struct Drawer {
  Cels& cels;
  const FigureContext& context;
  const FigureDef& def;
  double turn;

  int Ramp(const std::string& role) const {
    if (role == "outline") return cels.outlineRamp;
    const auto human = def.human.find(role);
    if (human == def.human.end())
      throw SourceError("figure " + def.name + " has no colour for " + role);
    const int a = PaletteFind(*context.palette, human->second);
    const auto turned = def.turned.find(role);
    if (turned == def.turned.end() || turn <= 0) return a;
    return PaletteBlend(*context.palette, a, PaletteFind(*context.palette, turned->second), turn);
  }
  bool Has(const std::string& role) const { return def.human.count(role) != 0; }

  std::map<char, Paint> Legend() const {
    std::map<char, Paint> legend;
    for (const auto& [letter, role] : def.legend) {
      legend[letter] = Paint{
          Ramp(role), std::islower(static_cast<unsigned char>(letter)) ? ShadeAuto : ShadeMid};
      const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
      if (upper != letter && !def.legend.count(upper)) legend[upper] = Paint{Ramp(role), ShadeDark};
    }
    return legend;
  }

  const Mask& FindMask(const std::string& name) const {
    const auto found = context.masks->find(name);
    if (found == context.masks->end())
      throw SourceError("figure " + def.name + " uses a missing picture " + name);
    return found->second;
  }
};

}  // namespace

void FigureDraw(Cels& cels, const FigureContext& context, const FigureDef& def, const Pose& pose,
                double footX, double ground, double turn) {
  Drawer d{cels, context, def, turn};
  const bool vampire = turn >= 0.5;

  // Skeleton with the hip at the origin, then lowered until the lowest foot or knee stands on the ground.
  Point knee[2], ankle[2], toe[2];
  double lowest = -1e9;
  for (int i = 0; i < 2; ++i) {
    knee[i] = Scale(Down(pose.thigh[i]), def.thigh);
    const double shinAngle = pose.thigh[i] - pose.knee[i];
    ankle[i] = Add(knee[i], Scale(Down(shinAngle), def.shin));
    const double tilt = std::clamp(shinAngle, -60.0, 60.0) * 0.5 * kDegree;
    toe[i] = Add(ankle[i],
                 Point{def.footLength * std::cos(tilt), -def.footLength * std::sin(tilt) * 0.3});
    lowest = std::max({lowest, ankle[i].y + def.legWidth / 2, knee[i].y + def.legWidth / 2});
  }
  const Point hip{footX + pose.shiftX, ground - lowest + pose.shiftY};
  for (int i = 0; i < 2; ++i) {
    knee[i] = Add(knee[i], hip), ankle[i] = Add(ankle[i], hip), toe[i] = Add(toe[i], hip);
  }
  const Point up = Up(pose.lean),
              across{std::cos(pose.lean * kDegree), std::sin(pose.lean * kDegree)};
  const Point shoulder = Add(hip, Scale(up, def.torso));
  const Point neckTop = Add(shoulder, Scale(up, def.neck));
  Point elbow[2], hand[2];
  for (int i = 0; i < 2; ++i) {
    elbow[i] = Add(shoulder, Scale(Down(pose.upper[i]), def.upperArm));
    hand[i] = Add(elbow[i], Scale(Down(pose.upper[i] + pose.elbow[i]), def.foreArm));
  }
  const double legR = def.legWidth / 2, armR = def.armWidth / 2;
  const double hemY = ground - 2;

  auto paint = [&](const std::string& role, int shade = ShadeAuto, bool ink = false) {
    return Paint{d.Ramp(role), shade, ink};
  };
  auto drawLeg = [&](int i, bool far) {
    const int shade = far ? ShadeDark : ShadeAuto;
    CelsCapsule(cels, paint("legs", shade), hip, knee[i], legR);
    CelsCapsule(cels, paint("legs", shade), knee[i], ankle[i], legR);
    if (d.Has("boots")) {
      const Point top =
          Add(ankle[i], Scale(Point{knee[i].x - ankle[i].x, knee[i].y - ankle[i].y}, 0.4));
      CelsCapsule(cels, paint("boots", shade), top, ankle[i], legR + 0.2);
    }
    CelsCapsule(cels, paint("feet", shade), ankle[i], toe[i], legR - 0.3);
  };
  auto drawArm = [&](int i, bool far) {
    const int shade = far ? ShadeDark : ShadeAuto;
    CelsCapsule(cels, paint("arms", shade, !far), shoulder, elbow[i], armR);
    CelsCapsule(cels, paint("arms", shade), elbow[i], hand[i], armR);
    CelsDisc(cels, paint("hands", shade), hand[i].x, hand[i].y, def.handSize);
  };
  auto drawItem = [&]() {
    if (def.item.empty() || def.item == "none" || vampire) return;
    const Point dir = Up(pose.item);
    const Point back = Add(hand[1], Scale(dir, -def.itemGrip));
    const Point tip = Add(hand[1], Scale(dir, def.itemLength - def.itemGrip));
    const Point side{-dir.y, dir.x};
    if (def.item == "torch") {
      CelsCapsule(cels, paint("item", ShadeAuto, true), back, tip, 0.9);
      const Mask& flame = d.FindMask(context.frameIndex % 2 ? "flame2" : "flame1");
      CelsDisc(cels, Paint{d.Ramp("glowcore"), ShadeMid, false, true}, tip.x, tip.y - 2, 5);
      CelsDisc(cels, Paint{d.Ramp("glow"), ShadeMid, false, true}, tip.x, tip.y - 2, 8.5);
      CelsMask(cels, flame, static_cast<int>(std::lround(tip.x)),
               static_cast<int>(std::lround(tip.y)), d.Legend());
    } else if (def.item == "cross") {
      CelsCapsule(cels, paint("metal", ShadeAuto, true), back, tip, 0.7);
      const Point bar = Add(back, Scale(dir, def.itemLength * 0.62));
      CelsCapsule(cels, paint("metal", ShadeAuto, true), Add(bar, Scale(side, -2.2)),
                  Add(bar, Scale(side, 2.2)), 0.7);
    } else {
      CelsCapsule(cels, paint("item", ShadeAuto, true), back, tip, 0.7);
      if (def.item == "spear") {
        CelsPolygon(
            cels, paint("metal", ShadeAuto, true),
            {Add(tip, Scale(side, 1.8)), Add(tip, Scale(dir, 6)), Add(tip, Scale(side, -1.8))});
      } else if (def.item == "fork") {
        CelsCapsule(cels, paint("metal", ShadeAuto, true), Add(tip, Scale(side, -2.5)),
                    Add(tip, Scale(side, 2.5)), 0.6);
        for (double s : {-2.5, 0.0, 2.5})
          CelsCapsule(cels, paint("metal", ShadeAuto), Add(tip, Scale(side, s)),
                      Add(Add(tip, Scale(side, s)), Scale(dir, 4.5)), 0.55);
      }
    }
  };

  if (!context.frontOnly) {
    if (def.cloak) {
      const double flare = pose.cloak;
      const Point backTop = Add(shoulder, Scale(across, -def.shoulderWidth / 2 - 0.5));
      // The hem dips between two points, like a bat's wing.
      const Point hemFront{hip.x + 3 - flare * 0.3, hemY}, hemBack{hip.x - 7 - flare, hemY + 1};
      const Point dip{(hemFront.x + hemBack.x) / 2, hemY - 1.5};
      std::vector<Point> outer = {Add(shoulder, Point{0, -1}),
                                  Add(shoulder, Scale(across, def.shoulderWidth / 2)),
                                  Add(hip, Point{def.waistWidth / 2 + 1.5, 0}),
                                  hemFront,
                                  dip,
                                  hemBack,
                                  {backTop.x - 2 - flare * 0.6, hip.y - 2},
                                  backTop};
      std::vector<Point> lining = outer;
      lining[3].y += 1, lining[4].y += 1, lining[5] = Add(lining[5], Point{-2.5, 1}),
                                          lining[6].x -= 2.5, lining[7].x -= 1;
      CelsPolygon(cels, paint("lining"), lining);
      for (Point& p : outer) p.x += 0.4;
      outer[5].y -= 0.8;
      CelsPolygon(cels, paint("cloak"), outer);
    }
    if (!def.hairBack.empty())
      CelsMask(cels, d.FindMask(def.hairBack),
               static_cast<int>(std::lround(neckTop.x + pose.headX)),
               static_cast<int>(std::lround(neckTop.y + pose.headY)), d.Legend());
    // A cloak hides the far arm; other figures show it behind the body.
    if (!def.cloak) drawArm(0, true);
    drawLeg(0, true);
    if (def.robe) {
      drawLeg(1, false);
      const double left = std::min(ankle[0].x, ankle[1].x) - 2.5,
                   right = std::max(ankle[0].x, ankle[1].x) + 2.5;
      CelsPolygon(cels, paint("robe"),
                  {Add(hip, Scale(across, -def.waistWidth / 2 - 0.5)),
                   Add(hip, Scale(across, def.waistWidth / 2 + 0.5)),
                   {std::max(right, hip.x + 3.5), hemY - 0.5},
                   {std::min(left, hip.x - 4) - pose.cloak, hemY}});
    }
    CelsPolygon(
        cels, paint("top"),
        {Add(hip, Scale(across, -def.waistWidth / 2)), Add(hip, Scale(across, def.waistWidth / 2)),
         Add(shoulder, Scale(across, def.shoulderWidth / 2)),
         Add(shoulder, Scale(across, -def.shoulderWidth / 2))});
    if (d.Has("belt"))
      CelsCapsule(cels, paint("belt", ShadeMid), Add(hip, Scale(across, -def.waistWidth / 2 + 0.5)),
                  Add(hip, Scale(across, def.waistWidth / 2 - 0.5)), 0.6);
    if (!def.robe) drawLeg(1, false);
    if (def.cloak) {
      // The stand-up collar behind the head, its red inside showing.
      const Point back = Add(neckTop, Scale(across, -2.5));
      CelsPolygon(cels, paint("cloak"),
                  {Add(shoulder, Point{-3.5, 1}), Add(back, Point{-3.5, -9}),
                   Add(back, Point{-1, -8}), Add(neckTop, Point{0.5, -1}), shoulder});
      CelsPolygon(cels, paint("lining", ShadeMid),
                  {Add(shoulder, Point{-1.5, 0}), Add(back, Point{-2, -7.5}),
                   Add(back, Point{-0.8, -6.5}), Add(neckTop, Point{-0.2, -0.5})});
    }
  }
  CelsCapsule(cels, paint("skin"), shoulder, neckTop, 1.2);
  if (d.Has("collar"))
    CelsCapsule(cels, paint("collar", ShadeLight), Add(shoulder, Point{-1, -1}),
                Add(shoulder, Point{1.5, -1}), 0.8);
  const std::string headName = vampire ? def.turnedHead : def.head;
  const std::string faceName = pose.face.empty() ? headName : headName + "_" + pose.face;
  const Mask& head = d.FindMask(context.masks->count(faceName) ? faceName : headName);
  CelsMask(cels, head, static_cast<int>(std::lround(neckTop.x + pose.headX)),
           static_cast<int>(std::lround(neckTop.y + pose.headY)), d.Legend());
  if (def.cloak && pose.wing > 0 && !context.frontOnly) {
    const Point h = hand[1];
    // The cloak hangs from the raised arm like a bat's wing, scalloped at its lower edge.
    const Point low{h.x - 2, h.y + (hemY - h.y) * 0.45 * pose.wing};
    const Point mid{(h.x + hip.x) / 2 - 2, (low.y + hip.y) / 2 + 2};
    CelsPolygon(cels, paint("lining"),
                {shoulder, h, low, Add(mid, Point{0, 2}), Add(hip, Point{-3, 3})});
    CelsPolygon(cels, paint("cloak", ShadeAuto, true),
                {shoulder, Add(h, Point{-0.5, 0.5}), Add(low, Point{-1, -1.5}),
                 Add(mid, Point{0, 0.5}), Add(hip, Point{-3.5, 1})});
  }
  if (def.item == "torch" || def.item == "cross") {
    drawArm(1, false);
    drawItem();
  } else {
    drawItem();
    drawArm(1, false);
  }
}
