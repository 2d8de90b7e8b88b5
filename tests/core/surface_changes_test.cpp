// The surface names the controls that changed, each once, so that a toolkit
// updates exactly those.

#include "state/colors.h"
#include "state/surface.h"

#include <gtest/gtest.h>

namespace {

std::vector<SurfaceControl*> taken(Surface& s)
{
    std::vector<SurfaceControl*> out;
    s.changes().take(out);
    return out;
}

} // namespace

TEST(SurfaceChanges, EachWriteThatChangesAControlNamesItOnceAndOnlyThen)
{
    Surface s;
    int notified = 0;
    s.changes().setOnFirstChange([&] { ++notified; });
    EXPECT_TRUE(taken(s).empty()); // the design itself is no change

    Label& monday = s.classGrid.column(1)[0];
    Label& tuesday = s.classGrid.column(2)[0];
    ListView& list = s.lstBj;
    const struct {
        const char* what;
        std::function<void()> write;
        std::vector<SurfaceControl*> changed;
    } cases[] = {
        {"same values",
         [&] {
             monday.BackColor = color::White;
             monday.Caption = QString();
             monday.Visible = true;
         },
         {}},
        {"two writes to one cell, then another cell",
         [&] {
             monday.BackColor = color::Available;
             tuesday.Caption = "语文";
             monday.ToolTipText = "x";
         },
         {&monday, &tuesday}},
        {"a swap", [&] { std::swap(monday.Caption, tuesday.Caption); }, {&monday, &tuesday}},
        {"appending and clearing text",
         [&] {
             monday.ToolTipText += " / y";
             tuesday.Tag.clear();
         },
         {&monday}},
        {"a plan list's rows and selection",
         [&] {
             list.AddItem("数学").setSubItem(3, "2");
             list.SelectedIndex = 0;
         },
         {&list}},
        {"an entry's hours left", [&] { list.ListItems[0].setSubItem(3, "1"); }, {&list}},
        {"an entry's same hours left", [&] { list.ListItems[0].setSubItem(3, "1"); }, {}},
        {"a selector's entries and choice",
         [&] {
             s.cmbJs.AddItem("张伟");
             s.cmbJs.setListIndex(0);
         },
         {&s.cmbJs}},
        {"a selector's same choice", [&] { s.cmbJs.setListIndex(0); }, {}},
    };
    int expectedNotes = 0;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        k.write();
        EXPECT_EQ(taken(s), k.changed);
        expectedNotes += k.changed.empty() ? 0 : 1;
        EXPECT_EQ(notified, expectedNotes);
    }
    // A new element names its array, then itself; it copies element 0 and
    // reports to the same list.
    ControlArray<Label>& wednesday = s.classGrid.column(3);
    Label& added = wednesday.Load(1);
    added.Visible = true;
    EXPECT_EQ(taken(s), (std::vector<SurfaceControl*>{&wednesday, &added}));
    EXPECT_EQ(added.Width, wednesday[0].Width);
    added.Caption = "数学";
    EXPECT_EQ(taken(s), std::vector<SurfaceControl*>{&added});
}
