#include "host/file_menu.h"

#include "control/qx_mavowin.h"
#include "fet/fet_export.h"
#include "fet/fet_file.h"
#include "fet/fet_import.h"
#include "host/frm_kbtz.h"
#include "state/selected_ids.h"
#include "state/surface.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/timetable_rows.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

enum class Scope { ChosenClass, ChosenTeacher, AllClasses, AllTeachers };

const std::pair<Scope, const char*> kScopes[] = {
    {Scope::ChosenClass, "当前班级(&B)"},
    {Scope::ChosenTeacher, "当前教师(&T)"},
    {Scope::AllClasses, "全部班级(&A)"},
    {Scope::AllTeachers, "全部教师(&L)"},
};

// The selection of a menu entry; the chosen class or teacher is the one the
// selector shows.
ExportSelection selectionOf(Scope scope, QxMavoWinWidget& control)
{
    ExportSelection selection;
    auto chosen = [&](Side side) {
        const std::optional<QString> id = currentSelectorId(control.control().state(), side);
        if (!id)
            throw ControlError(QStringLiteral("请先选择%1").arg(sideName(side)));
        return *id;
    };
    switch (scope) {
    case Scope::ChosenClass: selection.classIds << chosen(Side::Class); break;
    case Scope::ChosenTeacher: selection.teacherIds << chosen(Side::Teacher); break;
    case Scope::AllClasses: selection.allClasses = true; break;
    case Scope::AllTeachers: selection.allTeachers = true; break;
    }
    return selection;
}

// What the selection is called in a file name: the class or teacher on
// screen, or "全部班级" / "全部教师".
QString scopeName(Scope scope, QxMavoWinWidget& control)
{
    const Surface& s = control.control().surface();
    switch (scope) {
    case Scope::ChosenClass: return s.cmbBj.Text();
    case Scope::ChosenTeacher: return s.cmbJs.Text();
    case Scope::AllClasses: return QStringLiteral("全部班级");
    case Scope::AllTeachers: return QStringLiteral("全部教师");
    }
    return QString();
}

// Characters no file system takes in a name.
QString fileNameOf(QString name)
{
    static const QRegularExpression unsafe(QStringLiteral(R"([\\/:*?"<>|])"));
    return name.replace(unsafe, QStringLiteral("_"));
}

// Tells what was done on the control's status line, under the grids.
void tell(FrmKbTz& window, const QString& text)
{
    window.C()->control().surface().statusText = text;
    window.C()->syncFromSurface();
}

// The pages as they will come out of the printer, in a preview whose print
// button leads on to the platform's print dialog.
void print(FrmKbTz& window, Scope scope)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    const ExportSelection selection = selectionOf(scope, *window.C());
    printer.setDocName(scopeName(scope, *window.C()) + QStringLiteral(" 课表"));
    QPrintPreviewDialog preview(&printer, &window);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("打印预览：") + printer.docName());
    QString failure;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &window, [&](QPrinter* device) {
        try {
            window.C()->printTimetables(*device, selection);
        } catch (const std::exception& e) {
            failure = describe(e);
        }
    });
    if (preview.exec() == QDialog::Accepted && failure.isEmpty())
        tell(window, QStringLiteral("已送往打印机：%1").arg(printer.docName()));
    if (!failure.isEmpty())
        throw ControlError(failure);
}

void exportTo(FrmKbTz& window, Scope scope)
{
    const ExportSelection selection = selectionOf(scope, *window.C());
    const QString pdf = QStringLiteral("PDF 文件 (*.pdf)"), csv = QStringLiteral("CSV 文件 (*.csv)"),
                  html = QStringLiteral("HTML 文件 (*.html *.htm)");
    QString filter = pdf;
    const QString proposed = fileNameOf(scopeName(scope, *window.C()) + QStringLiteral(" 课表.pdf"));
    const QString file = QFileDialog::getSaveFileName(&window, QStringLiteral("导出课表"), proposed,
                                                      QStringList{pdf, csv, html}.join(QStringLiteral(";;")), &filter);
    if (file.isEmpty())
        return;
    // The name's suffix decides; without one, the filter chosen.
    const QString suffix = QFileInfo(file).suffix().toLower();
    const ExportFormat format = suffix == QLatin1String("csv")                                      ? ExportFormat::Csv
                                : suffix == QLatin1String("html") || suffix == QLatin1String("htm") ? ExportFormat::Html
                                : suffix == QLatin1String("pdf")                                    ? ExportFormat::Pdf
                                : filter == csv                                                     ? ExportFormat::Csv
                                : filter == html                                                    ? ExportFormat::Html
                                                                                                    : ExportFormat::Pdf;
    const int written = window.C()->exportTimetables(format, file, selection);
    tell(window, QStringLiteral("已导出 %1 %2：%3")
                     .arg(written)
                     .arg(format == ExportFormat::Csv ? QStringLiteral("节课") : QStringLiteral("页"),
                          QDir::toNativeSeparators(file)));
}

// A timetable FET made, into the database the control works on; a window of
// its own then shows it (the control starts once per window).
void importFet(FrmKbTz& window)
{
    const QString path = QFileDialog::getOpenFileName(&window, QStringLiteral("导入 FET 课表"), QString(),
                                                      QStringLiteral("FET 文件 (*.fet)"));
    if (path.isEmpty())
        return;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw ControlError(in.errorString());
    if (in.size() > fet::kMaxFileBytes)
        throw fet::FetError(QStringLiteral("the file has %1 MB; a FET file here has at most %2 MB")
                                .arg(in.size() / (1024 * 1024))
                                .arg(fet::kMaxFileBytes / (1024 * 1024)));
    const QString text = fet::decodeFetBytes(in.readAll());
    const QSqlDatabase db = window.C()->control().conn().database();
    const fet::ImportSummary summary =
        fet::importFet(db, fet::readFetText(text), text, {{}, {}, {}, QFileInfo(path).fileName()});
    QMessageBox::information(&window, QStringLiteral("导入 FET 课表"), summary.lines().join(u'\n'));
    auto* imported = new FrmKbTz;
    imported->setAttribute(Qt::WA_DeleteOnClose);
    imported->load(db, summary.schoolYear, summary.term, summary.name);
    imported->setWindowTitle(QStringLiteral("%1 %2 %3").arg(summary.schoolYear, summary.term, summary.name));
    imported->show();
}

// The opened timetable back into the FET file it was imported from.
void exportFet(FrmKbTz& window)
{
    QX_MavoWin& control = window.C()->control();
    const fet::FetExport written = fet::exportFet(control.conn(), control.session().openedTimetableId());
    const QString path = QFileDialog::getSaveFileName(&window, QStringLiteral("导出 FET 课表"),
                                                      QStringLiteral("课表.fet"), QStringLiteral("FET 文件 (*.fet)"));
    if (path.isEmpty())
        return;
    QSaveFile out(path);
    const QByteArray bytes = written.text.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw ControlError(out.errorString());
    if (!written.unwritable.empty()) {
        QStringList lines{QStringLiteral("这些活动的课不再是同一天的连续课节，文件中保留了它们原来的时间：")};
        for (const fet::UnwritableActivity& a : written.unwritable)
            lines << QStringLiteral("activity %1: %2").arg(a.activityId).arg(a.reason);
        QMessageBox::warning(&window, QStringLiteral("导出 FET 课表"), lines.join(u'\n'));
    }
}

// A failure of printing or export is the user's to read, never the end of the host.
template <typename Action> void guarded(FrmKbTz& window, const QString& title, Action&& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        QMessageBox::warning(&window, title, describe(e));
    }
}

} // namespace

QMenu* addFileMenu(QMenuBar& bar, FrmKbTz& window)
{
    QMenu* file = bar.addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("导入 FET 课表(&I)…"), &window,
                    [&window] { guarded(window, QStringLiteral("导入 FET 课表"), [&] { importFet(window); }); });
    QMenu* printMenu = file->addMenu(QStringLiteral("打印(&P)"));
    QMenu* exportMenu = file->addMenu(QStringLiteral("导出(&E)"));
    for (const auto& [scope, caption] : kScopes) {
        const Scope s = scope;
        printMenu->addAction(QString::fromUtf8(caption), &window,
                             [&window, s] { guarded(window, QStringLiteral("打印课表"), [&] { print(window, s); }); });
        exportMenu->addAction(QString::fromUtf8(caption), &window, [&window, s] {
            guarded(window, QStringLiteral("导出课表"), [&] { exportTo(window, s); });
        });
    }
    exportMenu->addSeparator();
    exportMenu->addAction(QStringLiteral("FET 课表(&F)…"), &window,
                          [&window] { guarded(window, QStringLiteral("导出 FET 课表"), [&] { exportFet(window); }); });
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&X)"), &window, &QWidget::close);
    return file;
}
