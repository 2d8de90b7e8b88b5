// The Designer plugin offers the control for a form, named C, as the test
// host has it.

#ifdef KBTZ_DESIGNER_PLUGIN

#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

TEST(DesignerPlugin, LoadsAndCreatesTheControl)
{
    QPluginLoader loader(QStringLiteral(KBTZ_DESIGNER_PLUGIN));
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("name=\"C\"")));
    QWidget form;
    QWidget* control = plugin->createWidget(&form);
    ASSERT_NE(control, nullptr);
    // The plugin has its own copy of the class: compare by name.
    EXPECT_TRUE(control->inherits("QxMavoWinWidget"));
    EXPECT_NE(control->findChild<QWidget*>(QStringLiteral("cmd1_0")), nullptr);
}

#endif
