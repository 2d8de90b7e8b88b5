#pragma once

#include <QJsonObject>

class QX_MavoWin;
class Connection;

// The whole visible state of a control as the driver's `dump` shows it.
// Message boxes and statements are taken: each dump shows those since the last.
QJsonObject dumpState(QX_MavoWin& control);
