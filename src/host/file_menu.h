#pragma once

class FrmKbTz;
class QMenu;
class QMenuBar;

// The host's 文件 menu: 导入 FET 课表… (a timetable FET made, into the
// host's database, then opened), 打印 and 导出 of the chosen class, the chosen
// teacher, all classes or all teachers (the platform's print dialog; a PDF,
// CSV or HTML file chosen in a file dialog), 导出 → FET 课表… (an imported
// timetable back into its FET file), and 退出.
QMenu* addFileMenu(QMenuBar& bar, FrmKbTz& window);
