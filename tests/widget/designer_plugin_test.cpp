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
    QObject* instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(instance);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), QStringLiteral("QxMavoWinWidget"));
    EXPECT_EQ(plugin->includeFile(), QStringLiteral("ui/qxmavowin_widget.h"));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("name=\"C\"")));
    EXPECT_FALSE(plugin->isContainer());

    QWidget form;
    QWidget* control = plugin->createWidget(&form);
    ASSERT_NE(control, nullptr);
    // The plugin has its own copy of the class: compare by name.
    EXPECT_TRUE(control->inherits("QxMavoWinWidget"));
    EXPECT_EQ(control->parentWidget(), &form);
    EXPECT_GT(control->sizeHint().width(), control->sizeHint().height());
    EXPECT_NE(control->findChild<QWidget*>(QStringLiteral("cmd1_0")), nullptr);
}

#endif
