#pragma once

#include "qxmavowin/side.h"

class ControlState;
struct ChainOffer;
struct Label;

// A drop the colours refuse. A blocked
// cell of the analysed grid offers the chains of moves that would get the
// lesson there (adjust/chain_offer.h); any other refusal says why in the
// status line, never in a box: a cell past its day's periods, a cell the
// analysis did not offer, no analysed lesson.
void RefuseDrop(ControlState& state, ChainOffer& offer, Label* source, Label& target, Side side);
