#include "ide/form/FormView.h"

#include "ide/form/ClassIcons.h"

#include "platform/qt/LiveWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace vesk {

namespace {

constexpr int CaptionHeight = 22;
constexpr int HandleSize = 6;

void CollectNamed(TComponent& owner, std::vector<TComponent*>& out) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* c = owner.Components(i);
        if (!c->Name().empty())
            out.push_back(c);
        CollectNamed(*c, out);
    }
}

// Stands for a component whose class has no live widget: a control keeps its bounds
// and shows its class; a component that is not a control (a table, a data source) is
// a small tile with its class's picture at its stored place, its name below it.
class TPlaceholder : public QFrame {
public:
    TPlaceholder(const TComponent& component, QWidget* parent) : QFrame(parent) {
        setObjectName(QString::fromStdString(component.Name()));
        const bool control = component.ClassInfo() && component.ClassInfo()->IsControl();
        setFrameShape(QFrame::Panel);
        setFrameShadow(control ? QFrame::Sunken : QFrame::Raised);
        setAutoFillBackground(true);
        setToolTip(QString::fromStdString(component.Name() + ": " + component.ClassName()));
        const int left = static_cast<int>(component.GetInt("Left"));
        const int top = static_cast<int>(component.GetInt("Top"));
        if (control) {
            FText = QString::fromStdString(component.ClassName());
            setGeometry(left, top, static_cast<int>(component.GetInt("Width", 100)),
                        static_cast<int>(component.GetInt("Height", 25)));
        } else {
            if (component.ClassInfo())
                FIcon = ClassIcon(*component.ClassInfo());
            setGeometry(left, top, DesignIconSize, DesignIconSize);
            // The name under the tile; the clicks go through it to the form.
            auto* caption = new QLabel(QString::fromStdString(component.Name()), parent);
            caption->setObjectName(objectName() + "Caption");
            caption->setAttribute(Qt::WA_TransparentForMouseEvents);
            QFont small = caption->font();
            small.setPointSize(7);
            caption->setFont(small);
            caption->adjustSize();
            caption->move(left + (DesignIconSize - caption->width()) / 2, top + DesignIconSize + 1);
            caption->show();
            FCaption = caption;
        }
        show();
    }
    ~TPlaceholder() override { delete FCaption.data(); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        if (!FIcon.isNull()) {
            const QRect square((width() - ClassIconSize) / 2, (height() - ClassIconSize) / 2,
                               ClassIconSize, ClassIconSize);
            FIcon.paint(&painter, square);
        } else {
            painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, FText);
        }
    }

private:
    QString FText;
    QIcon FIcon;
    QPointer<QLabel> FCaption; // owned by the form widget; goes with the tile
};

QWidget* MakePlaceholder(const TComponent& component, QWidget* parent) {
    return new TPlaceholder(component, parent);
}

} // namespace

// Lies over the designed form: takes every mouse press (the live widgets under it
// never see one), draws the selection's grab handles and, while the mouse drags, the
// outline of the move, the resize or the rubber band; the designer gets the change
// when the button is let go, as one step.
class TFormSurface : public QWidget {
public:
    TFormSurface(TFormView& view, QWidget* parent) : QWidget(parent), FView(view) {
        setObjectName("FormSurface");
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        FView.setFocus(Qt::MouseFocusReason);
        if (event->button() != Qt::LeftButton)
            return;
        const QPoint pos = event->position().toPoint();
        FStart = FNow = pos;
        if (const TClassInfo* dropped = FView.DropClass()) {
            FView.DropAt(*dropped, pos);
            FMode = TMode::None;
            return;
        }
        if (const unsigned edges = FView.HandleAt(pos)) {
            FMode = TMode::Resize;
            FEdges = edges;
            return;
        }
        TComponent* hit = FView.ComponentAtPoint(pos);
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        // Ctrl: the band is drawn on the container under the mouse, for what is placed
        // on it; on the form's empty space it is the form's.
        if (event->modifiers() & Qt::ControlModifier)
            hit = FView.ContainerOf(hit);
        if (hit == FView.Root() || (event->modifiers() & Qt::ControlModifier)) {
            if (!shift)
                FView.Select(hit);
            FBandOn = hit;
            FMode = TMode::Band;
            return;
        }
        if (shift) {
            FView.Toggle(hit);
            FMode = TMode::None;
            return;
        }
        if (!FView.Designer().IsSelected(hit))
            FView.Select(hit);
        FMode = TMode::Move;
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        event->accept();
        if (FMode == TMode::None)
            return;
        FNow = event->position().toPoint();
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        const TMode mode = std::exchange(FMode, TMode::None);
        FNow = event->position().toPoint();
        const QPoint delta = FNow - FStart;
        update();
        switch (mode) {
        case TMode::Move:
            if (!delta.isNull())
                FView.Apply([&] { return FView.Designer().MoveBy(delta.x(), delta.y()); });
            break;
        case TMode::Resize:
            if (!delta.isNull())
                FView.Apply(
                    [&] { return FView.Designer().ResizeBy(FEdges, delta.x(), delta.y()); });
            break;
        case TMode::Band:
            if ((FNow - FStart).manhattanLength() >= 3)
                FView.SelectInBand(Band(), FBandOn, event->modifiers() & Qt::ShiftModifier);
            break;
        case TMode::None:
            break;
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        TComponent* hit = FView.ComponentAtPoint(event->position().toPoint());
        emit FView.componentDoubleClicked(hit);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const std::vector<TComponent*>& selection = FView.Selection();
        const bool several = selection.size() > 1;
        for (const TComponent* c : selection) {
            const QRect r = FView.BoundsOnForm(c);
            if (r.isEmpty() || c == FView.Root())
                continue;
            painter.setPen(Qt::NoPen);
            painter.setBrush(several ? QColor(0x80, 0x80, 0x80) : QColor(0x20, 0x20, 0x20));
            for (const QRect& handle : Handles(r, several))
                painter.drawRect(handle);
        }
        if (FMode == TMode::None)
            return;
        const QPoint delta = FNow - FStart;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        if (FMode == TMode::Band) {
            painter.drawRect(Band());
            return;
        }
        for (const TComponent* c : selection) {
            QRect r = FView.BoundsOnForm(c);
            if (r.isEmpty() || c == FView.Root())
                continue;
            if (FMode == TMode::Move) {
                r.translate(delta);
            } else {
                if (FEdges & deLeft)
                    r.setLeft(std::min(r.left() + delta.x(), r.right()));
                if (FEdges & deRight)
                    r.setRight(std::max(r.right() + delta.x(), r.left()));
                if (FEdges & deTop)
                    r.setTop(std::min(r.top() + delta.y(), r.bottom()));
                if (FEdges & deBottom)
                    r.setBottom(std::max(r.bottom() + delta.y(), r.top()));
            }
            painter.drawRect(r);
        }
    }

public:
    // The grab handles of bounds R: eight, or the four corners for one of several.
    static std::vector<QRect> Handles(const QRect& r, bool cornersOnly) {
        const int h = HandleSize;
        const int xs[3] = {r.left() - h / 2, r.center().x() - h / 2, r.right() - h / 2 + 1};
        const int ys[3] = {r.top() - h / 2, r.center().y() - h / 2, r.bottom() - h / 2 + 1};
        std::vector<QRect> out;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if ((i != 1 || j != 1) && (!cornersOnly || (i != 1 && j != 1)))
                    out.emplace_back(xs[i], ys[j], h, h);
        return out;
    }
    // The edges each of the eight handles drags, in Handles' order.
    static unsigned EdgesOf(int index) {
        static const unsigned edges[8] = {
            deLeft | deTop, deLeft,          deLeft | deBottom, deTop,
            deBottom,       deRight | deTop, deRight,           deRight | deBottom};
        return edges[index];
    }

private:
    // The rubber band as dragged, kept inside the container it is drawn on.
    QRect Band() const {
        const QRect band = QRect(FStart, FNow).normalized();
        const QRect inside = FView.BoundsOnForm(FBandOn);
        return inside.isEmpty() ? band : band.intersected(inside);
    }

    enum class TMode { None, Move, Resize, Band };
    TFormView& FView;
    TComponent* FBandOn = nullptr; // the container the band is drawn on
    TMode FMode = TMode::None;
    unsigned FEdges = 0;
    QPoint FStart, FNow;
};

TFormView::TFormView(TFormFile& form, QWidget* parent)
    : QScrollArea(parent), FForm(form), FDesigner(form) {
    setObjectName("FormView");
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Dark);
    FFrame = new QWidget;
    FFrame->setObjectName("FormFrame");
    // The view's dark backdrop is its own; the form and its controls take the roles a
    // window's widgets have.
    FFrame->setBackgroundRole(QPalette::Window);
    FFrame->setForegroundRole(QPalette::WindowText);
    FCaption = new QLabel(FFrame);
    FCaption->setObjectName("FormCaption");
    FCaption->setStyleSheet("QLabel { background: #000080; color: white; font-weight: bold; "
                            "padding-left: 6px; }");
    FSurface = new TFormSurface(*this, FFrame);
    setWidget(FFrame);
    Build();
    FDesigner.OnChange = [this] { ModelChanged(); };
    FDesigner.OnMeasure = [this](const TComponent& c) -> std::optional<std::pair<int, int>> {
        // Made on the live form, as a child takes its class's own size, not a window's.
        std::unique_ptr<TLiveObject> live =
            CreateLiveObject(c, FLive ? FLive->Root() : nullptr, FLive.get());
        QWidget* w = LiveWidget(live.get());
        if (!w)
            return std::nullopt;
        QSize size = w->size();
        if (const std::string caption = c.GetString("Caption"); !caption.empty()) {
            // The control's font as it draws it.
            TFont font;
            if (const auto name = ReadLiveProperty(*live, "Font.Name"))
                font.Name = StringValue(*name);
            if (const auto points = ReadLiveProperty(*live, "Font.Size"))
                font.Size = static_cast<int>(IntegerValue(*points));
            if (const auto style = ReadLiveProperty(*live, "Font.Style"))
                font.Style = FontStylesValue(*style);
            const QFontMetrics metrics(ToQFont(font));
            size = size.expandedTo(
                QSize(metrics.horizontalAdvance(QString::fromStdString(caption)) + 8,
                      metrics.height() + 4));
        }
        return std::pair{size.width(), size.height()};
    };
}

TFormView::~TFormView() = default;

QWidget* TFormView::WidgetOf(const TComponent* component) const {
    return FWidgetOf.value(component, nullptr);
}

TLiveObject* TFormView::LiveOf(const TComponent* component) const {
    if (!FLive || !component)
        return nullptr;
    if (component == Root())
        return FLive->Root();
    // Only a component the live form was made from: the name alone might be another's.
    return FWidgetOf.contains(component) || !component->ClassInfo() ||
                   !component->ClassInfo()->IsControl()
               ? FLive->FindLive(component->Name())
               : nullptr;
}

TComponent* TFormView::ComponentAt(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget()) {
        const auto it = FComponentOf.constFind(widget);
        if (it != FComponentOf.constEnd())
            return it.value();
        if (widget == FFrame)
            break;
    }
    return nullptr;
}

void TFormView::Build() {
    std::string text = FForm.Save();
    // Made first and swapped in whole: a model the live classes refuse leaves the
    // widgets as they were.
    auto live = std::make_unique<TLiveForm>(*Root());
    QWidget* formWidget = LiveWidget(live->Root());
    QHash<const QWidget*, TComponent*> componentOf;
    QHash<const TComponent*, QWidget*> widgetOf;
    std::vector<TComponent*> components;
    CollectNamed(*Root(), components);
    if (formWidget) {
        componentOf.insert(formWidget, Root());
        widgetOf.insert(Root(), formWidget);
    }
    for (TComponent* c : components) {
        QWidget* w = LiveWidget(live->FindLive(c->Name()));
        const bool control = c->ClassInfo() && c->ClassInfo()->IsControl();
        if (!w && formWidget && (control || !c->StreamParent() || c->StreamParent() == Root())) {
            // A class without live widgets still shows where it stands; what a
            // component holds inside it (a menu's items) shows with it.
            QWidget* parent = c->Parent() ? widgetOf.value(c->Parent(), formWidget) : formWidget;
            w = MakePlaceholder(*c, parent);
        }
        if (w) {
            componentOf.insert(w, c);
            widgetOf.insert(c, w);
        }
    }
    FComponentOf = std::move(componentOf);
    FWidgetOf = std::move(widgetOf);
    FFormWidget = formWidget;
    FLive = std::move(live); // the old form's widgets go here
    FShownText = std::move(text);

    QString caption = QString::fromStdString(Root()->GetString("Caption"));
    if (caption.isEmpty())
        caption = QString::fromStdString(Root()->Name());
    FCaption->setText(caption);
    QSize client(Root()->GetInt("Width", 320), Root()->GetInt("Height", 240));
    if (FFormWidget) {
        // A window paints its own background; inside the view the form is a child and
        // shows its Color only when asked to.
        TColor color = clBtnFace;
        if (const std::string stored = Root()->GetString("Color"); !stored.empty()) {
            try {
                color = StringToColor(stored);
            } catch (const EConvertError&) {
            }
        } else if (Root()->HasProperty("Color")) {
            color = static_cast<TColor>(Root()->GetInt("Color", clBtnFace));
        }
        QPalette palette = FFormWidget->palette();
        palette.setColor(QPalette::Window, ToQColor(ColorToRGB(color)));
        FFormWidget->setPalette(palette);
        FFormWidget->setAutoFillBackground(true);
        FFormWidget->setParent(FFrame);
        FFormWidget->move(0, CaptionHeight);
        FFormWidget->show();
        client = FFormWidget->size();
    }
    FCaption->setGeometry(0, 0, client.width(), CaptionHeight);
    FSurface->setGeometry(0, CaptionHeight, client.width(), client.height());
    FSurface->raise();
    FFrame->resize(client.width(), client.height() + CaptionHeight);

    // Selected components may have been freed: compared, never read.
    std::vector<TComponent*> selection = FDesigner.Selection();
    std::erase_if(selection, [&](TComponent* c) {
        return c != Root() &&
               std::find(components.begin(), components.end(), c) == components.end();
    });
    FDesigner.SetSelection(std::move(selection));
    FSurface->update();
}

bool TFormView::Refresh() {
    if (FForm.Save() == FShownText)
        return false;
    TComponent* before = Selected();
    const std::size_t count = Selection().size();
    Build();
    SelectionMayHaveChanged(before, count);
    return true;
}

void TFormView::SelectionMayHaveChanged(TComponent* before, std::size_t countBefore) {
    if (Selected() != before || Selection().size() != countBefore)
        SelectionChanged();
}

void TFormView::SelectionChanged() {
    if (QWidget* w = WidgetOf(Selected()); w && Selected() != Root())
        ensureWidgetVisible(w, 8, 8);
    emit selectionChanged(Selected());
}

void TFormView::ModelChanged() {
    TComponent* before = Selected();
    const std::size_t count = Selection().size();
    try {
        Build();
    } catch (const Exception& e) {
        // The model holds the change; the old widgets stay until it can be drawn, but
        // none stands for a component the change took away (or undo replaced).
        const std::vector<TComponent*> order = WrittenOrder(Root());
        const QSet<const TComponent*> present(order.begin(), order.end());
        for (auto it = FWidgetOf.begin(); it != FWidgetOf.end();)
            it = present.contains(it.key()) ? std::next(it) : FWidgetOf.erase(it);
        for (auto it = FComponentOf.begin(); it != FComponentOf.end();)
            it = present.contains(it.value()) ? std::next(it) : FComponentOf.erase(it);
        emit designError(QString::fromStdString(e.Message()));
    }
    emit modelChanged();
    SelectionMayHaveChanged(before, count);
}

bool TFormView::Apply(const std::function<bool()>& operation) {
    TComponent* before = Selected();
    const std::size_t count = Selection().size();
    bool changed = false;
    try {
        changed = operation();
    } catch (const Exception& e) {
        emit designError(QString::fromStdString(e.Message()));
    }
    FSurface->update();
    SelectionMayHaveChanged(before, count);
    return changed;
}

void TFormView::Select(TComponent* component) {
    SetSelection({component ? component : Root()});
}

void TFormView::SetSelection(std::vector<TComponent*> components) {
    const std::vector<TComponent*> old = Selection();
    FDesigner.SetSelection(std::move(components));
    if (Selection() == old)
        return;
    FSurface->update();
    SelectionChanged();
}

void TFormView::Toggle(TComponent* component) {
    std::vector<TComponent*> next = Selection();
    if (next == std::vector<TComponent*>{Root()})
        next.clear();
    if (FDesigner.IsSelected(component))
        std::erase(next, component);
    else
        next.push_back(component);
    SetSelection(std::move(next));
}

QRect TFormView::BoundsOnForm(const TComponent* component) const {
    QWidget* w = WidgetOf(component);
    if (!w || !FFormWidget)
        return {};
    if (w == FFormWidget)
        return FFormWidget->rect();
    return QRect(w->mapTo(FFormWidget, QPoint(0, 0)), w->size());
}

TComponent* TFormView::ComponentAtPoint(QPoint surfacePos) const {
    TComponent* hit = nullptr;
    if (FFormWidget)
        hit = ComponentAt(FFormWidget->childAt(surfacePos));
    return hit ? hit : Root();
}

unsigned TFormView::HandleAt(QPoint surfacePos) const {
    if (Selection().size() != 1 || Selected() == Root())
        return 0;
    const TComponent* c = Selected();
    if (!c->ClassInfo() || !c->ClassInfo()->IsControl())
        return 0;
    const std::vector<QRect> handles = TFormSurface::Handles(BoundsOnForm(c), false);
    for (std::size_t i = 0; i < handles.size(); ++i)
        if (handles[i].adjusted(-1, -1, 1, 1).contains(surfacePos))
            return TFormSurface::EdgesOf(static_cast<int>(i));
    return 0;
}

TComponent* TFormView::ContainerOf(TComponent* component) const {
    TComponent* c = component ? component : Root();
    while (c != Root() && !(c->ClassInfo() && c->ClassInfo()->AcceptsControls()))
        c = c->Parent() ? c->Parent() : Root();
    return c;
}

void TFormView::SelectInBand(QRect band, TComponent* container, bool add) {
    if (!container)
        container = Root();
    std::vector<TComponent*> picked = add ? Selection() : std::vector<TComponent*>{};
    std::erase(picked, Root());
    std::erase(picked, container);
    std::vector<TComponent*> components;
    CollectNamed(*Root(), components);
    for (TComponent* c : components) {
        // Those standing on the container the band is drawn on (the form: also what is
        // no control).
        if (c->Parent() ? c->Parent() != container : container != Root())
            continue;
        if (band.intersects(BoundsOnForm(c)) &&
            std::find(picked.begin(), picked.end(), c) == picked.end())
            picked.push_back(c);
    }
    SetSelection(std::move(picked));
}

void TFormView::DropAt(const TClassInfo& classInfo, QPoint surfacePos) {
    // On the container under the point, in its coordinates.
    TComponent* parent = ContainerOf(ComponentAtPoint(surfacePos));
    if (!classInfo.IsControl())
        parent = Root();
    QPoint at = surfacePos;
    if (parent != Root())
        if (QWidget* w = WidgetOf(parent))
            at = w->mapFrom(FFormWidget, surfacePos);
    FDropClass = nullptr;
    TComponent* made = nullptr;
    Apply([&] {
        made = FDesigner.Drop(classInfo, at.x(), at.y(), parent);
        return made != nullptr;
    });
    if (made)
        emit componentDropped(made);
}

bool TFormView::Copy() {
    const std::string text = FDesigner.CopySelection();
    if (text.empty())
        return false;
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    return true;
}

bool TFormView::Cut() {
    return Copy() && DeleteSelection();
}

bool TFormView::Paste() {
    return Apply([&] {
        return !FDesigner.Paste(QGuiApplication::clipboard()->text().toStdString()).empty();
    });
}

bool TFormView::DeleteSelection() {
    return Apply([&] { return FDesigner.DeleteSelection(); });
}

bool TFormView::Undo() {
    return Apply([&] { return FDesigner.Undo(); });
}

bool TFormView::Redo() {
    return Apply([&] { return FDesigner.Redo(); });
}

void TFormView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    static const QHash<int, TDesignArrow> arrows = {{Qt::Key_Left, TDesignArrow::Left},
                                                    {Qt::Key_Right, TDesignArrow::Right},
                                                    {Qt::Key_Up, TDesignArrow::Up},
                                                    {Qt::Key_Down, TDesignArrow::Down}};
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        Apply([&] { return FDesigner.Arrow(arrows.value(event->key()), ctrl, shift); });
        break;
    case Qt::Key_Delete:
        DeleteSelection();
        break;
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V:
    case Qt::Key_Z:
        if (!ctrl)
            return QScrollArea::keyPressEvent(event);
        if (event->key() == Qt::Key_C)
            Copy();
        else if (event->key() == Qt::Key_X)
            Cut();
        else if (event->key() == Qt::Key_V)
            Paste();
        else if (shift)
            Redo();
        else
            Undo();
        break;
    case Qt::Key_Escape:
        if (FDropClass) {
            FDropClass = nullptr;
            emit componentDropped(nullptr);
        }
        break;
    default:
        return QScrollArea::keyPressEvent(event);
    }
    event->accept();
}

} // namespace vesk
