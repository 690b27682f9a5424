#pragma once
// Figures drawn from a side-view skeleton: every frame is a pose (angles of the limbs), and a
// figure's look (proportions, clothes, head picture, what it carries) comes from its cast file.
#include <map>
#include <string>
#include <vector>

#include "cels.h"
#include "palette.h"

struct Pose {
  double lean = 0;                // torso, degrees from upright, forward positive
  double thigh[2] = {0, 0};       // far, near leg: degrees from straight down, forward positive
  double knee[2] = {0, 0};        // bend of the knee, the foot swinging back
  double upper[2] = {0, 0};       // upper arms, degrees from straight down, forward positive
  double elbow[2] = {0, 0};       // bend of the elbow, the hand swinging forward
  double item = 0;                // carried item, degrees from straight up, forward positive
  double cloak = 0;               // flare of a cloak's hem, pixels
  double wing = 0;                // a cloak held out by the near arm (0..1)
  double rotate = 0;              // the whole figure turned about its feet, forward positive
  double headX = 0, headY = 0;    // head moved from the top of the neck
  double shiftX = 0, shiftY = 0;  // whole figure moved
  int dust = 0;                   // percent of the figure crumbled away
  int ash = 0;                    // size of a heap of ash at the feet
  bool flash = false;             // lit up by a blow
  int blood = 0;                  // drops of blood thrown back from the chest
  int hold = 1;                   // advances the frame is shown for
  std::string face;               // another head picture for this frame
};

struct Sequence {
  std::string name;
  std::vector<Pose> frames;
  // Frames of a two-figure sequence: the second figure's pose, its offset and how far it
  // has turned (0 human .. 1 vampire).
  std::vector<Pose> partner;
  std::vector<double> partnerX;
  std::vector<double> partnerTurn;
};

struct FigureDef {
  std::string name;  // folder under Bin\Sprites
  double hip = 37, thigh = 12, shin = 12, torso = 16, neck = 2;
  double shoulderWidth = 6, waistWidth = 5, legWidth = 4, armWidth = 3, upperArm = 9, foreArm = 8;
  double footLength = 4, handSize = 1.6;
  std::map<std::string, std::string> human;   // role -> ramp name
  std::map<std::string, std::string> turned;  // role -> ramp name when a vampire
  std::map<char, std::string> legend;         // mask letter -> role (upper case: dark shade)
  std::string head, turnedHead;
  std::string item;               // none, spear, fork, torch, cross
  std::string attack = "attack";  // sequence of its blow
  double itemLength = 0, itemGrip = 0;
  bool robe = false, cloak = false;
  std::string hairBack;  // mask drawn behind the body (long hair)
};

std::map<std::string, FigureDef> FigureLoadCast(const std::string& folder,
                                                const std::vector<std::string>& files);
std::map<std::string, Sequence> SequenceLoad(const std::string& path);

struct FigureContext {
  Palette* palette = nullptr;
  const std::map<std::string, Mask>* masks = nullptr;
  int frameIndex = 0;
  bool frontOnly = false;  // only the head and the near arm, to lie over a second figure
};

// Draws one figure facing right, feet centred at (footX, ground); turn blends the human look
// into the vampire look (0..1).
void FigureDraw(Cels& cels, const FigureContext& context, const FigureDef& def, const Pose& pose,
                double footX, double ground, double turn);
