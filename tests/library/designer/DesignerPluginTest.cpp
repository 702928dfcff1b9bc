#include "library/dbtree/VeskDBTreeView.h"

#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(DesignerPlugin, LoadsAndMakesEachWidgetOnTheGroupVesk) {
    QPluginLoader loader(QStringLiteral(VESK_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr);
    QStringList names;
    QWidget form;
    for (QDesignerCustomWidgetInterface* widget : collection->customWidgets()) {
        names << widget->name();
        EXPECT_EQ(widget->group(), "Vesk");
        EXPECT_FALSE(widget->includeFile().isEmpty());
        EXPECT_TRUE(widget->domXml().contains(widget->name()));
        QWidget* made = widget->createWidget(&form);
        ASSERT_NE(made, nullptr) << widget->name().toStdString();
        EXPECT_EQ(made->parentWidget(), &form);
        EXPECT_EQ(QString("vesk::") + made->metaObject()->className() + QString(),
                  QString("vesk::vesk::") + widget->name().mid(6));
    }
    EXPECT_EQ(names, (QStringList{"vesk::TVeskDBTreeView", "vesk::TLabelEffect",
                                  "vesk::TVeskSpeedButton"}));
    // A tree made there is a working one.
    auto* tree = form.findChild<TVeskDBTreeView*>();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->Tree().BorderStyle(), bsSingle);
}

} // namespace
} // namespace vesk
