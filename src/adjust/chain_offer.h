#pragma once

#include "adjust/chain_search.h"

class ControlState;

// The chains the control found for the user's last target, best first, and
// whether the best of them is shown over the grids as a preview.
struct ChainOffer {
    ChainRequest request;
    std::vector<Chain> chains;
    bool previewing = false;

    // The timetable as the last search read it, kept while nobody can have
    // changed its lessons: no edit of this control since, and the database's
    // version of them the same (SQLite: the file's data version, which
    // another connection's commit changes; PostgreSQL: kcb's rows and newest
    // writing transaction). On other engines it is read for every search.
    struct Kept {
        QString xnId;
        int edits = 0;
        QString version;
        ChainSchool school{0};
    };
    std::optional<Kept> kept;
};

// Reads the timetable once and finds the chains for the request; they
// become the control's offer. Writes nothing.
std::vector<Chain> FindChains(ControlState& state, ChainOffer& offer, const ChainRequest& request);

// A drop on a blocked cell: finds the chains and shows the best over both
// grids, its cells numbered in order and its moves in the status line, with
// 执行 beside it; or says in the status line that there is none.
void OfferChains(ControlState& state, ChainOffer& offer, const ChainRequest& request);

// Applies a chain as one edit (adjust/chain_edit.h), as Enter or 执行 do:
// busy state, the one failure path (a refused chain leaves the timetable and
// the undo stack as they were), then the weeks it touched shown afresh.
// False when it did not go through.
bool ApplyChain(ControlState& state, ChainOffer& offer, const Chain& chain);
// The same for the previewed chain; false when none is previewed.
bool ApplyOfferedChain(ControlState& state, ChainOffer& offer);

// How the chain's moves read, one text each: "数学 1班 星期一第3节→星期四第2节".
QStringList ChainMoveTexts(ControlState& state, const Chain& chain);

// Takes the preview away (Esc, or any other action of the user).
void EndChainPreview(ControlState& state, ChainOffer& offer);
