#include "ide/designer/ObjectProperties.h"

#include "ide/core/EventHandlers.h"
#include "ide/designer/DesignFont.h"
#include "ide/form/FormView.h"
#include "platform/design/LiveObject.h"
#include "platform/forms/Component.h"
#include "platform/graphics/Graphics.h"
#include "platform/qt/LiveWidget.h"
#include "platform/rtl/Classes.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <regex>

namespace vesk {

namespace {

enum class TRowKind { Name, Plain, SubObject, SetElement, Event };

// The font Component shows under Prefix ("Font."): as its live object draws it (which
// knows the parent's font it takes), else as the model stores it.
TFont ShownFont(TFormView& view, TComponent& component, const std::string& prefix) {
    TLiveObject* live = view.LiveOf(&component);
    auto value = [&](const char* sub) -> std::optional<TValue> {
        try {
            if (live)
                if (std::optional<TValue> v = ReadLiveProperty(*live, prefix + sub))
                    return v;
        } catch (const Exception&) {
            // Not bound on this class: the model's value.
        }
        if (const TProperty* stored = component.FindProperty(prefix + sub))
            return stored->Value;
        return std::nullopt;
    };
    TFont font;
    try {
        if (const auto name = value("Name"); name && !StringValue(*name).empty())
            font.Name = StringValue(*name);
        if (const auto size = value("Size"))
            font.Size = static_cast<int>(IntegerValue(*size));
        else if (const auto height = value("Height"); height && IntegerValue(*height) != 0)
            font.Size = static_cast<int>(FontPointSize(IntegerValue(*height)));
        if (const auto style = value("Style"))
            font.Style = FontStylesValue(*style);
    } catch (const Exception&) {
        // A stored value of the wrong kind: the dialog starts from what was read.
    }
    return font;
}

bool IsEvent(const TPropInfo& prop) {
    return prop.Kind == TTypeKind::tkMethod;
}

std::vector<std::string> SetElements(const TValue& value) {
    return value.Kind == TValueKind::Set ? value.Set : std::vector<std::string>{};
}

} // namespace

struct TObjectInspector::TRow {
    TRowKind Kind = TRowKind::Plain;
    std::string Name;    // as shown in the registry: "Font.Size", "Anchors.akLeft"
    std::string Element; // a set element's name
    std::unique_ptr<TPropertyEditor> Editor; // the set's editor for an element
    QTreeWidgetItem* Item = nullptr;
};

TObjectInspector::TObjectInspector(QWidget* parent) : QWidget(parent) {
    setObjectName("ObjectInspector");
    qRegisterMetaType<vesk::TComponent*>("vesk::TComponent*"); // for queued and spied signals
    setWindowTitle("Object Inspector");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    FComponentList = new QComboBox(this);
    FComponentList->setObjectName("InspectorComponents");
    layout->addWidget(FComponentList);
    FTabs = new QTabWidget(this);
    auto makeTree = [&](const char* name) {
        auto* tree = new QTreeWidget;
        tree->setObjectName(name);
        tree->setColumnCount(2);
        tree->setHeaderHidden(true);
        tree->setRootIsDecorated(true);
        tree->setIndentation(12);
        tree->setAlternatingRowColors(false);
        tree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
        tree->header()->resizeSection(0, 110);
        tree->header()->setStretchLastSection(true);
        connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
            if (column == 1)
                OpenEditor(item->data(0, Qt::UserRole).toString());
        });
        return tree;
    };
    FProperties = makeTree("InspectorProperties");
    FEvents = makeTree("InspectorEvents");
    connect(FEvents, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        RequestHandler(item->data(0, Qt::UserRole).toString());
    });
    FTabs->addTab(FProperties, "Properties");
    FTabs->addTab(FEvents, "Events");
    layout->addWidget(FTabs, 1);
    connect(FComponentList, &QComboBox::activated, this, [this](int index) {
        if (!FView)
            return;
        const std::string name = FComponentList->itemData(index).toString().toStdString();
        TComponent* root = FView->Root();
        FView->Select(name.empty() ? root : root->FindComponent(name));
    });
    resize(260, 420);
}

TObjectInspector::~TObjectInspector() {
    Attach(nullptr);
}

void TObjectInspector::Attach(TFormView* view) {
    for (const auto& c : FViewConnections)
        disconnect(c);
    FViewConnections.clear();
    FView = view;
    if (view) {
        FViewConnections.push_back(
            connect(view, &TFormView::selectionChanged, this, [this] { Rebuild(); }));
        FViewConnections.push_back(
            connect(view, &TFormView::modelChanged, this, [this] { Rebuild(); }));
        FViewConnections.push_back(
            connect(view, &QObject::destroyed, this, [this] { Attach(nullptr); }));
    }
    Rebuild();
}

void TObjectInspector::CloseEditor() {
    if (!FOpen)
        return;
    QWidget* open = FOpen;
    FOpen = nullptr;
    FOpenName.clear();
    open->hide();
    open->deleteLater(); // it may be the sender of the commit that closes it
}

void TObjectInspector::FillComponents() {
    FComponentList->clear();
    if (!FView)
        return;
    TComponent* root = FView->Root();
    auto label = [](const TComponent* c) {
        return QString::fromStdString(c->Name() + ": " + c->ClassName());
    };
    FComponentList->addItem(label(root), QString());
    std::vector<TComponent*> order = WrittenOrder(root);
    for (TComponent* c : order)
        if (c != root && !c->Name().empty())
            FComponentList->addItem(label(c), QString::fromStdString(c->Name()));
    const auto& selection = FView->Selection();
    if (selection.size() == 1)
        FComponentList->setCurrentIndex(std::max(
            0, FComponentList->findData(QString::fromStdString(
                   selection.front() == root ? std::string() : selection.front()->Name()))));
    else
        FComponentList->setCurrentIndex(-1);
}

void TObjectInspector::Rebuild() {
    if (FCommitting) {
        FRebuildPending = true;
        return;
    }
    CloseEditor();
    // Expanded rows stay expanded.
    QStringList expanded;
    for (const auto& [key, row] : FRows)
        if (row->Item && row->Item->isExpanded())
            expanded << QString::fromStdString(row->Name);
    FRows.clear();
    FProperties->clear();
    FEvents->clear();
    FillComponents();
    if (!FView)
        return;
    const std::vector<TComponent*>& selection = FView->Selection();
    const TClassInfo* first = selection.front()->ClassInfo();
    if (!first)
        return;
    // In the order of their names, as the inspector always listed them.
    std::vector<const TPropInfo*> props = first->Properties();
    std::stable_sort(props.begin(), props.end(), [](const TPropInfo* a, const TPropInfo* b) {
        return CompareText(a->Name, b->Name) < 0;
    });
    for (const TPropInfo* prop : props) {
        bool shared = true;
        for (const TComponent* c : selection) {
            const TPropInfo* own = c->ClassInfo() ? c->ClassInfo()->FindProp(prop->Name) : nullptr;
            shared = shared && own && own->Kind == prop->Kind;
        }
        if (!shared)
            continue;
        if (SameText(prop->Name, "Name")) {
            if (selection.size() > 1)
                continue;
            auto row = std::make_unique<TRow>();
            row->Kind = TRowKind::Name;
            row->Name = "Name";
            row->Item = new QTreeWidgetItem(
                FProperties, {"Name", QString::fromStdString(selection.front()->Name())});
            row->Item->setData(0, Qt::UserRole, QString("Name"));
            FRows[UpperCase(row->Name)] = std::move(row);
            continue;
        }
        AddProperty(IsEvent(*prop) ? FEvents : FProperties, nullptr, *prop, prop->Name);
    }
    for (const QString& name : expanded)
        if (QTreeWidgetItem* item = ItemOf(name))
            item->setExpanded(true);
    for (QTreeWidget* tree : {FProperties, FEvents}) {
        tree->resizeColumnToContents(0);
        tree->header()->resizeSection(0, std::min(tree->header()->sectionSize(0) + 8, 160));
    }
}

void TObjectInspector::AddProperty(QTreeWidget* tree, QTreeWidgetItem* parent,
                                   const TPropInfo& prop, const std::string& name) {
    const std::vector<TComponent*>& selection = FView->Selection();
    auto row = std::make_unique<TRow>();
    row->Name = name;
    row->Editor = CreatePropertyEditor(selection, name);
    if (!row->Editor)
        return;
    const TPropertyAttributes attributes = row->Editor->GetAttributes();
    const bool subObject = prop.Kind == TTypeKind::tkClass && !prop.RefersToComponent();
    // A font is edited on several at once, as its own editor always allowed.
    if (selection.size() > 1 && !attributes.Contains(paMultiSelect) &&
        !(subObject && prop.TypeName == "TFont"))
        return;
    QString shown = QString::fromStdString(name.substr(name.rfind('.') + 1));
    QString value;
    if (subObject) {
        row->Kind = TRowKind::SubObject;
        value = QString::fromStdString("(" + prop.TypeName + ")");
    } else {
        row->Kind = IsEvent(prop) ? TRowKind::Event : TRowKind::Plain;
        if (row->Editor->AllEqual())
            value = QString::fromStdString(row->Editor->GetValue());
        // Nothing stored and no stored default: the form shows what its live object
        // has, not the type's zero (an edit is not black); blank when it cannot say.
        const TComponent* only = selection.size() == 1 ? selection.front() : nullptr;
        if (only && !prop.Default && !IsEvent(prop) && prop.Kind != TTypeKind::tkString &&
            !prop.RefersToComponent() && !only->HasProperty(name)) {
            std::optional<TValue> shown;
            if (const TLiveObject* live = FView->LiveOf(only)) {
                try {
                    shown = ReadLiveProperty(*live, name);
                } catch (const Exception&) {
                    // Not the object's to give.
                }
            }
            value =
                !shown ? QString()
                       : QString::fromStdString(prop.IsColor() && shown->Kind == TValueKind::Integer
                                                    ? ColorToString(static_cast<TColor>(shown->Int))
                                                    : ValueText(*shown));
        }
    }
    row->Item = parent ? new QTreeWidgetItem(parent, {shown, value})
                       : new QTreeWidgetItem(tree, {shown, value});
    row->Item->setData(0, Qt::UserRole, QString::fromStdString(name));
    QTreeWidgetItem* item = row->Item;
    TPropertyEditor* editor = row->Editor.get();
    FRows[UpperCase(name)] = std::move(row);

    if (subObject) {
        // A persistent sub-object (a font) shows its own published properties.
        if (const TClassInfo* sub = TClassRegistry::Instance().Find(prop.TypeName))
            for (const TPropInfo* p : sub->Properties())
                if (p->Kind != TTypeKind::tkClass)
                    AddProperty(tree, item, *p, name + "." + p->Name);
        return;
    }
    if (prop.Kind == TTypeKind::tkSet) {
        const std::vector<std::string> in =
            SetElements(GetModelValue(*editor->GetComponent(0), prop));
        for (const std::string& element : prop.Names) {
            auto elementRow = std::make_unique<TRow>();
            elementRow->Kind = TRowKind::SetElement;
            elementRow->Name = name + "." + element;
            elementRow->Element = element;
            const bool on = std::any_of(in.begin(), in.end(),
                                        [&](const std::string& e) { return SameText(e, element); });
            elementRow->Item =
                new QTreeWidgetItem(item, {QString::fromStdString(element), on ? "True" : "False"});
            elementRow->Item->setData(0, Qt::UserRole, QString::fromStdString(elementRow->Name));
            FRows[UpperCase(elementRow->Name)] = std::move(elementRow);
        }
    }
}

TObjectInspector::TRow* TObjectInspector::RowOf(const QString& name) const {
    const auto it = FRows.find(UpperCase(name.toStdString()));
    return it == FRows.end() ? nullptr : it->second.get();
}

QTreeWidgetItem* TObjectInspector::ItemOf(const QString& name) const {
    TRow* row = RowOf(name);
    return row ? row->Item : nullptr;
}

QString TObjectInspector::ValueOf(const QString& name) const {
    QTreeWidgetItem* item = ItemOf(name);
    return item ? item->text(1) : QString();
}

QStringList TObjectInspector::ValuesOf(const QString& name) const {
    TRow* row = RowOf(name);
    QStringList out;
    if (!row)
        return out;
    if (row->Kind == TRowKind::SetElement)
        return {"False", "True"};
    if (row->Kind == TRowKind::Event) {
        if (FUnitSource && FView)
            for (const std::string& m : FormClassMethods(FUnitSource(), FView->Root()->ClassName(),
                                                         row->Editor->GetPropInfo().TypeName))
                out << QString::fromStdString(m);
        return out;
    }
    if (!row->Editor || !row->Editor->GetAttributes().Contains(paValueList))
        return out;
    try {
        row->Editor->GetValues([&](const std::string& v) { out << QString::fromStdString(v); });
    } catch (const Exception& e) {
        // A data source that names no data set offers nothing.
        return {};
    }
    if (row->Editor->GetAttributes().Contains(paSortList))
        std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    return out;
}

QWidget* TObjectInspector::OpenEditor(const QString& name) {
    TRow* row = RowOf(name);
    if (!row ||
        (row->Kind == TRowKind::SubObject && row->Editor->GetPropInfo().TypeName != "TFont"))
        return nullptr;
    CloseEditor();
    QTreeWidget* tree = row->Item->treeWidget();
    if (row->Kind == TRowKind::SubObject) {
        // A font is picked in the font dialog.
        auto* button = new QToolButton;
        button->setText("...");
        connect(button, &QToolButton::clicked, this, [this, name] { OpenFontDialog(name); });
        button->setObjectName("InspectorEditor");
        tree->setItemWidget(row->Item, 1, button);
        FOpen = button;
        FOpenName = name;
        return button;
    }
    const QStringList values = ValuesOf(name);
    const bool list = row->Kind == TRowKind::SetElement || row->Kind == TRowKind::Event ||
                      (row->Editor && row->Editor->GetAttributes().Contains(paValueList));
    QWidget* editor = nullptr;
    if (list) {
        auto* combo = new QComboBox;
        const TPropInfo* prop = row->Editor ? &row->Editor->GetPropInfo() : nullptr;
        // Names of a type or of the form's components are picked; the others may be typed.
        const bool picked =
            row->Kind == TRowKind::SetElement ||
            (prop && (prop->Kind == TTypeKind::tkEnumeration || prop->RefersToComponent()));
        combo->setEditable(!picked);
        if (prop && prop->RefersToComponent())
            combo->addItem(QString()); // none
        combo->addItems(values);
        combo->setCurrentText(row->Item->text(1));
        if (picked)
            combo->setCurrentIndex(combo->findText(row->Item->text(1)));
        connect(combo, &QComboBox::activated, this, [this, name, combo](int index) {
            if (FOpen == combo)
                Commit(name, combo->itemText(index));
        });
        if (QLineEdit* line = combo->lineEdit())
            connect(line, &QLineEdit::returnPressed, this, [this, name, combo] {
                if (FOpen == combo)
                    Commit(name, combo->currentText());
            });
        editor = combo;
    } else {
        auto* line = new QLineEdit(row->Item->text(1));
        connect(line, &QLineEdit::returnPressed, this, [this, name, line] {
            if (FOpen == line)
                Commit(name, line->text());
        });
        editor = line;
    }
    editor->setObjectName("InspectorEditor");
    tree->setItemWidget(row->Item, 1, editor);
    FOpen = editor;
    FOpenName = name;
    editor->setFocus();
    return editor;
}

bool TObjectInspector::Commit(const QString& name, const QString& text) {
    TRow* row = RowOf(name);
    if (!row || !FView || row->Kind == TRowKind::SubObject)
        return false;
    const std::string value = text.toStdString();
    TFormDesigner& designer = FView->Designer();
    FCommitting = true;
    bool ok = true;
    try {
        switch (row->Kind) {
        case TRowKind::Name:
            designer.Rename(FView->Selected(), value);
            break;
        case TRowKind::SetElement: {
            const std::string setName = row->Name.substr(0, row->Name.rfind('.'));
            TRow* set = RowOf(QString::fromStdString(setName));
            const TPropInfo& prop = set->Editor->GetPropInfo();
            const std::vector<std::string> in =
                SetElements(GetModelValue(*set->Editor->GetComponent(0), prop));
            std::string next = "[";
            for (const std::string& element : prop.Names) {
                const bool was = std::any_of(in.begin(), in.end(), [&](const std::string& e) {
                    return SameText(e, element);
                });
                const bool on = SameText(element, row->Element) ? SameText(value, "True") : was;
                if (on)
                    next += (next.size() > 1 ? "," : "") + element;
            }
            next += "]";
            TPropertyEditor* editor = set->Editor.get();
            designer.Modify([&] { editor->SetValue(next); });
            break;
        }
        default: {
            TPropertyEditor* editor = row->Editor.get();
            designer.Modify([&] { editor->SetValue(value); });
            break;
        }
        }
    } catch (const Exception& e) {
        ok = false;
        emit error(QString::fromStdString(e.Message()));
    }
    FCommitting = false;
    // Rebuilt now (the new value shown, or the old one back after a refusal).
    FRebuildPending = false;
    Rebuild();
    return ok;
}

void TObjectInspector::OpenFontDialog(const QString& name) {
    if (!FView)
        return;
    const std::string prefix = name.toStdString() + ".";
    const TFont current = ShownFont(*FView, *FView->Selected(), prefix);
    auto* dialog = new QFontDialog(ToDialogFont(current), this);
    dialog->setObjectName("InspectorFontDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A font the machine does not have is shown as the one that stands in for it: left
    // as it was, the font keeps its own name.
    const QString shownFamily = dialog->currentFont().family();
    connect(dialog, &QFontDialog::fontSelected, this,
            [this, prefix, current, shownFamily](const QFont& font) {
                if (!FView)
                    return;
                QFont picked = font;
                if (picked.family() == shownFamily)
                    picked.setFamily(QString::fromStdString(current.Name));
                const TFont chosen = FromDialogFont(picked, current);
                const std::vector<std::pair<std::string, std::string>> values = {
                    {prefix + "Name", chosen.Name},
                    {prefix + "Size", IntToStr(chosen.Size)},
                    {prefix + "Style", ValueText(FontStylesToValue(chosen.Style))}};
                FCommitting = true;
                try {
                    // One step for the whole font, on every selected component.
                    FView->Designer().Modify([&] {
                        for (const auto& [property, value] : values)
                            if (auto editor = CreatePropertyEditor(FView->Selection(), property))
                                editor->SetValue(value);
                        // A font of its own is no longer its parent's.
                        if (auto parentFont =
                                CreatePropertyEditor(FView->Selection(), "ParentFont"))
                            parentFont->SetValue("False");
                    });
                } catch (const Exception& e) {
                    emit error(QString::fromStdString(e.Message()));
                }
                FCommitting = false;
                FRebuildPending = false;
                Rebuild();
            });
    dialog->open();
}

void TObjectInspector::RequestHandler(const QString& eventName) {
    TRow* row = RowOf(eventName);
    if (!row || row->Kind != TRowKind::Event || !FView)
        return;
    TComponent* component = FView->Selected();
    QString handler = row->Item->text(1);
    const std::string eventType = row->Editor->GetPropInfo().TypeName;
    const bool made = handler.isEmpty();
    if (made) {
        // The host's spelling: the component's name and the event's without "On".
        QString event = eventName;
        if (event.startsWith("On"))
            event.remove(0, 2);
        const std::string base = component == FView->Root() ? "Form" : component->Name();
        handler = QString::fromStdString(base) + event;
    }
    if (FUnitSource && FUnitSink) {
        const auto place = AddEventHandler(FUnitSource(), FView->Root()->ClassName(),
                                           handler.toStdString(), eventType);
        if (!place) {
            emit error(QString::fromStdString("A handler of the type " + eventType +
                                              " cannot be made in this unit"));
            return;
        }
        FUnitSink(place->Text, place->Body);
    }
    if (made) {
        if (!Commit(eventName, handler))
            return;
        component = FView->Selected();
    }
    emit handlerRequested(component, eventName, handler);
}

} // namespace vesk
