#include "ide/form/FormView.h"

#include "platform/qt/LiveWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"

#include <QFontMetrics>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>

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
// a small tile at its stored place, named after its class.
class TPlaceholder : public QFrame {
public:
    TPlaceholder(const TComponent& component, QWidget* parent) : QFrame(parent) {
        setObjectName(QString::fromStdString(component.Name()));
        const bool control = component.ClassInfo() && component.ClassInfo()->IsControl();
        QString kind = QString::fromStdString(component.ClassName());
        if (kind.startsWith('T'))
            kind.remove(0, 1);
        FText = control ? QString::fromStdString(component.ClassName()) : kind;
        setFrameShape(QFrame::Panel);
        setFrameShadow(control ? QFrame::Sunken : QFrame::Raised);
        setAutoFillBackground(true);
        setToolTip(QString::fromStdString(component.Name() + ": " + component.ClassName()));
        const int left = static_cast<int>(component.GetInt("Left"));
        const int top = static_cast<int>(component.GetInt("Top"));
        if (control) {
            setGeometry(left, top, static_cast<int>(component.GetInt("Width", 100)),
                        static_cast<int>(component.GetInt("Height", 25)));
        } else {
            QFont small = font();
            small.setPointSize(7);
            setFont(small);
            const int textWidth = QFontMetrics(small).horizontalAdvance(FText) + 8;
            setGeometry(left, top, std::max(28, textWidth), 28);
        }
        show();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, FText);
    }

private:
    QString FText;
};

QWidget* MakePlaceholder(const TComponent& component, QWidget* parent) {
    return new TPlaceholder(component, parent);
}

} // namespace

// Lies over the designed form: takes every mouse press (the live widgets under it
// never see one) and draws the selection's grab handles.
class TFormSurface : public QWidget {
public:
    TFormSurface(TFormView& view, QWidget* parent) : QWidget(parent), FView(view) {
        setObjectName("FormSurface");
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        FView.setFocus(Qt::MouseFocusReason);
        FView.SelectAt(event->position().toPoint());
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void paintEvent(QPaintEvent*) override {
        QWidget* form = FView.FormWidget();
        QWidget* selected = FView.WidgetOf(FView.Selected());
        if (!form || !selected || selected == form)
            return;
        const QRect r(selected->mapTo(form, QPoint(0, 0)), selected->size());
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x20, 0x20, 0x20));
        const int h = HandleSize;
        const int xs[3] = {r.left() - h / 2, r.center().x() - h / 2, r.right() - h / 2 + 1};
        const int ys[3] = {r.top() - h / 2, r.center().y() - h / 2, r.bottom() - h / 2 + 1};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if (i != 1 || j != 1)
                    painter.drawRect(xs[i], ys[j], h, h);
    }

private:
    TFormView& FView;
};

TFormView::TFormView(TFormFile& form, QWidget* parent) : QScrollArea(parent), FForm(form) {
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
}

TFormView::~TFormView() = default;

QWidget* TFormView::WidgetOf(const TComponent* component) const {
    return FWidgetOf.value(component, nullptr);
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

    // The selected component may have been freed: compared, never read.
    if (FSelected != Root() &&
        std::find(components.begin(), components.end(), FSelected) == components.end())
        FSelected = Root();
    FSurface->update();
}

bool TFormView::Refresh() {
    if (FForm.Save() == FShownText)
        return false;
    TComponent* before = FSelected;
    Build();
    if (FSelected != before)
        emit selectionChanged(FSelected);
    return true;
}

void TFormView::Select(TComponent* component) {
    if (!component)
        component = Root();
    if (component == FSelected)
        return;
    FSelected = component;
    if (QWidget* w = WidgetOf(component))
        ensureWidgetVisible(w, 8, 8);
    FSurface->update();
    emit selectionChanged(FSelected);
}

void TFormView::SelectAt(QPoint surfacePos) {
    TComponent* hit = nullptr;
    if (FFormWidget)
        hit = ComponentAt(FFormWidget->childAt(surfacePos));
    Select(hit ? hit : Root());
}

} // namespace vesk
