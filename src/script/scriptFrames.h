// Helpers the object kinds share: frame sets and their models, the slider's knob.
#pragma once

#include <cstdint>
#include <string>

#include "script/scriptInternal.h"

// Frames and models of a set: what walking all of them costs (charged by the walks below).
size_t FrameSetModelCount(const frameSet& set);
// Moves every model of every frame by the difference to (x, y) and stores the position.
void FrameSetMoveTo(frameSet& set, int32_t x, int32_t y);
// Width and height of frame n (1-based): its first model's, rounded; 0 without one.
int32_t FrameWidth(const frameSet& set, int32_t n);
int32_t FrameHeight(const frameSet& set, int32_t n);
bool FrameValid(const frameSet& set, int32_t n);
// A frame number for a frame attribute: itself when valid, else 1 with the clamping message.
int32_t FrameClamp(const frameSet& set, int32_t n, const std::string& operation,
                   const std::string& what);
void FrameSetDraw(const frameSet& set, int32_t n);
void FrameSetRelease(frameSet& set);
void FrameSetColour(frameSet& set, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

// Span of the knob along the track (track length - knob length, at least 0).
int32_t SliderSpan(const objSlider& slider);
// Clamps the value and places the knob at its offset.
void SliderPlace(objSlider& slider);

void BoxRecolour(objBox& box);
