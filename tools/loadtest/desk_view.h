#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// What the load test needs of a desk's `dump`: its class grid, its class
// plan list, what it can undo and redo, and the message boxes it showed.
struct DeskView {
    using Cell = std::pair<int, int>; // weekday, period

    struct GridCell {
        QString tag;
        int back = 0;
    };
    std::map<Cell, GridCell> classGrid;
    struct PlanItem {
        QString tag;
        int hoursLeft = 0;
    };
    std::vector<PlanItem> classPlan;
    int classPlanSelected = -1; // the row of lstBj an analysis was run on
    bool canUndo = false;
    bool canRedo = false;
    QStringList messages;

    static DeskView of(const QJsonObject& state);

    std::vector<Cell> lessons() const;    // cells holding a lesson
    std::vector<Cell> targets() const;    // cells an analysis offers (available or warned)
    std::optional<Cell> analysed() const; // the analysed lesson's cell
    // The cells whose lesson differs from an earlier view, with their lesson now.
    std::map<Cell, QString> changedSince(const DeskView& earlier) const;
    bool refused() const; // a message box of a refused edit
};
