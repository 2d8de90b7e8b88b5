#include "ui/designer/qxmavowin_designer_plugin.h"

#include "qxmavowin/qxmavowin_widget.h"

#include <QIcon>

QxMavoWinDesignerPlugin::QxMavoWinDesignerPlugin(QObject* parent) : QObject(parent) {}

QString QxMavoWinDesignerPlugin::name() const { return QStringLiteral("QxMavoWinWidget"); }
QString QxMavoWinDesignerPlugin::group() const { return QStringLiteral("QX_MavoWin"); }
QString QxMavoWinDesignerPlugin::toolTip() const { return QStringLiteral("课表调整控件 QX_MavoWin"); }
QString QxMavoWinDesignerPlugin::whatsThis() const
{
    return QStringLiteral(
        "课表调整控件：宿主窗体载入后调用 QxIni 传入数据库连接、学年、学期、排课名称、宿主窗体和数据库类型。");
}
QString QxMavoWinDesignerPlugin::includeFile() const { return QStringLiteral("qxmavowin/qxmavowin_widget.h"); }
QIcon QxMavoWinDesignerPlugin::icon() const { return {}; }
bool QxMavoWinDesignerPlugin::isContainer() const { return false; }
QWidget* QxMavoWinDesignerPlugin::createWidget(QWidget* parent) { return new QxMavoWinWidget(parent); }
bool QxMavoWinDesignerPlugin::isInitialized() const { return initialized_; }
void QxMavoWinDesignerPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }

QString QxMavoWinDesignerPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="QxMavoWinWidget" name="C"/>
</ui>
)");
}
