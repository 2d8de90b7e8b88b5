#pragma once

class FrmKbTz;
class QMenu;
class QMenuBar;

// The host's 文件 menu: 打印 and 导出 of the chosen class, the chosen
// teacher, all classes or all teachers (the platform's print dialog; a PDF,
// CSV or HTML file chosen in a file dialog), and 退出.
QMenu* addFileMenu(QMenuBar& bar, FrmKbTz& window);
