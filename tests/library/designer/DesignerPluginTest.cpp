#include "library/dbtree/VeskDBTreeView.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "platform/ota/HeadlessHost.h"

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

// Properties a form laid out in Designer keeps as dynamic properties, set the way the
// code generated from it sets them.
TEST(DesignerPlugin, DynamicPropertiesGoThroughTheRegistry) {
    THeadlessServices host; // records the errors the guard shows
    SetHostServices(&host);
    TLabelEffect label;
    label.setProperty("EffectStyle", QStringLiteral("esSunken"));
    label.setProperty("Angle", 45);
    label.setProperty("Font.Size", 30);
    label.setProperty("AsButton", true);
    EXPECT_EQ(label.EffectStyle(), esRaised); // AsButton raised it again
    EXPECT_EQ(label.Angle(), 45);
    EXPECT_EQ(label.Font().Size, 30);
    EXPECT_TRUE(label.AsButton());
    label.setProperty("Angle", 400); // refused, reported, nothing changed
    EXPECT_EQ(label.Angle(), 45);
    ASSERT_EQ(host.Messages().size(), 1u);
    label.setProperty("Unrelated", 1); // not a published property: Qt keeps it
    EXPECT_EQ(label.property("Unrelated").toInt(), 1);

    TVeskDBTreeView tree;
    tree.setProperty("BorderStyle", QStringLiteral("bsNone"));
    tree.setProperty("DataFieldText", QStringLiteral("Name"));
    EXPECT_EQ(tree.Tree().BorderStyle(), bsNone);
    EXPECT_EQ(tree.Tree().DataFieldText(), "Name");
    TVeskSpeedButton button;
    button.setProperty("Radius", 12);
    EXPECT_EQ(button.Radius(), 12);
    SetHostServices(nullptr);
}

} // namespace
} // namespace vesk
