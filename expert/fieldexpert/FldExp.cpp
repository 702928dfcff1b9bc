#include "expert/fieldexpert/FldExp.h"

#include "expert/fieldexpert/FldExpPictures.h"
#include "expert/frame/ComExp.h"
#include "platform/ota/HostServices.h"
#include "platform/qt/SlotGuard.h"
#include "platform/rtl/SysUtils.h"

#include <QPixmap>

namespace vesk {

TFldExpert* FldExpert = nullptr;

namespace {

// The explanations, each with the box it was laid out for (left, top, width, height).
struct TExplanation {
    const char* Name;
    const char* Text;
    QRect Bounds;
};

const TExplanation Label1Text{"Label1",
                              "This expert will make for you routine work on creation of objects "
                              "TLabel and TDBEdit for each field of a database. Choose DataSet "
                              "fields of which you want to place.",
                              QRect(130, 12, 287, 45)};
const TExplanation Label6Text{"Label6",
                              "For fields as Date it is possible to establish not standard "
                              "TDBEdit, and TDBDateEdit from library RXLib.",
                              QRect(130, 12, 287, 45)};
const TExplanation Label7Text{"Label7",
                              "Choose a way of an arrangement Label in relation to fields",
                              QRect(133, 89, 287, 24)};
const TExplanation Label8Text{
    "Label8", "Press \"Create\" and the fields chosen by you will be arrange on the form.",
    QRect(132, 174, 287, 29)};

bool Fits(const QFontMetrics& metrics, const TExplanation& e) {
    const QRect needed = metrics.boundingRect(QRect(0, 0, e.Bounds.width(), 10000),
                                              Qt::TextWordWrap, QString(e.Text));
    return needed.height() <= e.Bounds.height() && needed.width() <= e.Bounds.width();
}

// The host's 8-point font at 96 pixels per inch. Its texts were laid out for a narrower
// face than most machines have: the font is narrowed until every explanation fits the
// box it was given.
QFont DialogFont() {
    TFont host;
    host.Name = "MS Sans Serif";
    host.Size = 8;
    QFont font = ToQFont(host);
    for (int stretch = 100; stretch >= 70; stretch -= 5) {
        font.setStretch(stretch);
        const QFontMetrics metrics(font);
        if (Fits(metrics, Label1Text) && Fits(metrics, Label6Text) && Fits(metrics, Label7Text) &&
            Fits(metrics, Label8Text))
            break;
    }
    return font;
}

// The lists line their columns up, so a fixed-pitch face whatever the machine has.
QFont ListFont() {
    TFont font;
    font.Name = "Courier New";
    font.Size = 8;
    QFont result = ToQFont(font);
    result.setStyleHint(QFont::TypeWriter);
    result.setFixedPitch(true);
    return result;
}

// A picture drawn on a canvas, its bottom-left colour left out.
template <typename Paint>
QPixmap Picture(int width, int height, Paint paint) {
    TQtBitmap bitmap(width, height);
    paint(bitmap.Canvas());
    return QPixmap::fromImage(
        ImageWithoutColour(bitmap.Image(), bitmap.ResolvedTransparentColor()));
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* NewLabel(QWidget* parent, const TExplanation& e) {
    auto* label = new QLabel(e.Text, parent);
    label->setObjectName(e.Name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(e.Bounds);
    return label;
}

QListWidget* NewList(QWidget* parent, const char* name, QRect bounds, bool multiSelect) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(bounds);
    list->setFont(ListFont());
    list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    return list;
}

TSpeedButton* NewSpeedButton(QWidget* parent, const char* name, const char* caption, int top) {
    auto* button = new TSpeedButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    button->setGeometry(264, top, 25, 25);
    return button;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption,
                       TWizardGlyph glyph, QRect bounds) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    button->setIcon(
        Picture(GlyphSize, GlyphSize, [glyph](TCanvas& canvas) { DrawGlyph(canvas, glyph); }));
    return button;
}

// The page's picture at its left edge, and pointers beside its explanations.
void AddPictures(QWidget* page, int pageIndex, std::array<QLabel*, 8>& images, int& next,
                 std::initializer_list<QPoint> pointers) {
    auto add = [&](const QPixmap& pixmap, QPoint at) {
        auto* image = new QLabel(page);
        image->setObjectName(QString("Image%1").arg(next + 1));
        image->setPixmap(pixmap);
        image->setGeometry(at.x(), at.y(), pixmap.width(), pixmap.height());
        images[static_cast<std::size_t>(next++)] = image;
    };
    add(Picture(WizardPictureWidth, WizardPictureHeight,
                [pageIndex](TCanvas& canvas) { DrawWizardPicture(canvas, pageIndex); }),
        {8, 12});
    const QPixmap pointer =
        Picture(PointerWidth, PointerHeight, [](TCanvas& canvas) { DrawPointer(canvas); });
    for (QPoint at : pointers)
        add(pointer, at);
}

} // namespace

struct TFldExpert::TAdapters {
    explicit TAdapters(TFldExpert& w)
        : NB(w.NB), DataSets(w.lbDataSet, false), Create(w.lbField, true),
          Available(w.lbAField, true), AddField(w.sbAddField), AddAllField(w.sbAddAllField),
          DelField(w.sbDelField), DelAllField(w.sbDelAllField), Next(w.bnNext),
          CreateButton(w.bnCreate) {}
    TFldExpControls Controls() {
        return {NB,          DataSets, Create,      Available, AddField,
                AddAllField, DelField, DelAllField, Next,      CreateButton};
    }
    TQtNotebook NB;
    TQtListBox DataSets, Create, Available;
    TQtControl AddField, AddAllField, DelField, DelAllField, Next, CreateButton;
};

TFldExpert::TFldExpert(QWidget* owner) : QDialog(owner) {
    setObjectName("FldExpert");
    setWindowTitle("Expert for make TLabel and TDBEdit");
    setFont(DialogFont());
    // 435 x 309 with the host's dialog frame (4-pixel borders, a 22-pixel caption).
    setFixedSize(427, 283);
    move(222, 117);

    NB = new TNotebook(this);
    NB->setObjectName("NB");
    NB->setGeometry(0, 0, 427, 246);
    BuildPages();
    BuildButtons();

    FAdapters = std::make_unique<TAdapters>(*this);
    FWizard = std::make_unique<TFldExpWizard>(FAdapters->Controls());
    Wire();
}

TFldExpert::~TFldExpert() = default;

void TFldExpert::BuildPages() {
    int image = 0;

    auto* page0 = new QWidget(NB);
    page0->setObjectName("DataSetPage");
    Label1 = NewLabel(page0, Label1Text);
    Label2 = NewLabel(page0, "Label2", "Available DataSource", 130, 56);
    lbDataSet = NewList(page0, "lbDataSet", QRect(130, 71, 279, 161), false);
    AddPictures(page0, 0, Images, image, {{110, 14}});
    NB->addWidget(page0);

    auto* page1 = new QWidget(NB);
    page1->setObjectName("FieldPage");
    Label4 = NewLabel(page1, "Label4", "Create fields", 128, 11);
    Label5 = NewLabel(page1, "Label5", "Available fields", 294, 11);
    lbField = NewList(page1, "lbField", QRect(129, 24, 129, 210), true);
    sbAddField = NewSpeedButton(page1, "sbAddField", "<", 24);
    sbAddAllField = NewSpeedButton(page1, "sbAddAllField", "<<", 59);
    sbDelField = NewSpeedButton(page1, "sbDelField", ">", 93);
    sbDelAllField = NewSpeedButton(page1, "sbDelAllField", ">>", 128);
    lbAField = NewList(page1, "lbAField", QRect(294, 24, 125, 210), true);
    sbAddField->setEnabled(false);
    sbAddAllField->setEnabled(false);
    AddPictures(page1, 1, Images, image, {{108, 110}});
    NB->addWidget(page1);

    auto* page2 = new QWidget(NB);
    page2->setObjectName("OptionsPage");
    Label6 = NewLabel(page2, Label6Text);
    cbUseDateEdit = new QCheckBox("Use TDBDateEdit", page2);
    cbUseDateEdit->setObjectName("cbUseDateEdit");
    cbUseDateEdit->setGeometry(130, 60, 219, 17);
    cbUseDateEdit->setChecked(true);
    Label7 = NewLabel(page2, Label7Text);
    rgLabelPos = new TRadioGroup("Arrangement TLabel", {"Label Up", "Label Left"}, 2, page2);
    rgLabelPos->setObjectName("rgLabelPos");
    rgLabelPos->setGeometry(132, 110, 285, 45);
    rgLabelPos->SetItemIndex(0);
    Label8 = NewLabel(page2, Label8Text);
    AddPictures(page2, 2, Images, image, {{110, 12}, {113, 87}, {112, 172}});
    NB->addWidget(page2);

    NB->setCurrentIndex(pgOptions); // the start: the last page, until the first activation
}

void TFldExpert::BuildButtons() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 246, 427, 37);
    Bevel1 = new QFrame(Panel1);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 0, 427, 2);
    btCancel = NewButton(Panel1, "btCancel", "Cancel", TWizardGlyph::Cancel, QRect(8, 5, 80, 27));

    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName("Panel2");
    Panel2->setGeometry(427 - 241, 2, 241, 35);
    bnBack = NewButton(Panel2, "bnBack", "Back", TWizardGlyph::Back, QRect(62, 4, 80, 27));
    bnNext = NewButton(Panel2, "bnNext", "Next", TWizardGlyph::Next, QRect(153, 4, 80, 27));
    bnNext->setLayoutDirection(Qt::RightToLeft); // the glyph on the right
    bnCreate =
        NewButton(Panel2, "bnCreate", "&Create", TWizardGlyph::Create, QRect(170, 10, 80, 27));
    bnCreate->setDefault(true);
    bnCreate->hide();
}

void TFldExpert::Wire() {
    connect(NB, &TNotebook::OnPageChanged, this, &TFldExpert::NBPageChanged);
    connect(lbDataSet, &QListWidget::itemClicked, this, &TFldExpert::bnNextClick);
    connect(lbField, &QListWidget::itemDoubleClicked, this, &TFldExpert::sbDelFieldClick);
    connect(lbAField, &QListWidget::itemDoubleClicked, this, &TFldExpert::sbAddFieldClick);
    connect(sbAddField, &TSpeedButton::OnClick, this, &TFldExpert::sbAddFieldClick);
    connect(sbAddAllField, &TSpeedButton::OnClick, this, &TFldExpert::sbAddAllFieldClick);
    connect(sbDelField, &TSpeedButton::OnClick, this, &TFldExpert::sbDelFieldClick);
    connect(sbDelAllField, &TSpeedButton::OnClick, this, &TFldExpert::sbDelAllFieldClick);
    connect(bnNext, &QPushButton::clicked, this, &TFldExpert::bnNextClick);
    connect(bnBack, &QPushButton::clicked, this, &TFldExpert::bnBackClick);
    connect(bnCreate, &QPushButton::clicked, this, &TFldExpert::bnCreateClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFldExpert::SetDesignForm(TComponent& form, const std::string& folder) {
    FWizard->SetDesignForm(form, folder);
}

IListBox& TFldExpert::ListOf(QListWidget* list) {
    if (list == lbDataSet)
        return FAdapters->DataSets;
    if (list == lbField)
        return FAdapters->Create;
    if (list == lbAField)
        return FAdapters->Available;
    throw EArgumentError("Not a list of the Field Expert");
}

void TFldExpert::MoveSelected(QListWidget* source, QListWidget* dest) {
    TFldExpWizard::MoveSelected(ListOf(source), ListOf(dest));
}

int TFldExpert::GetFirstSelection(QListWidget* list) {
    return TFldExpWizard::GetFirstSelection(ListOf(list));
}

void TFldExpert::SetItem(QListWidget* list, int index) {
    FWizard->SetItem(ListOf(list), index);
}

void TFldExpert::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FActivated) {
        FActivated = true;
        FormActivate();
    }
}

void TFldExpert::FormActivate() {
    Guarded([this] { FWizard->FormActivate(); });
}

void TFldExpert::NBPageChanged() {
    Guarded([this] { FWizard->NBPageChanged(); });
}

void TFldExpert::bnNextClick() {
    Guarded([this] { FWizard->bnNextClick(); });
}

void TFldExpert::bnBackClick() {
    Guarded([this] { FWizard->bnBackClick(); });
}

void TFldExpert::sbAddFieldClick() {
    Guarded([this] { FWizard->sbAddFieldClick(); });
}

void TFldExpert::sbDelFieldClick() {
    Guarded([this] { FWizard->sbDelFieldClick(); });
}

void TFldExpert::sbAddAllFieldClick() {
    Guarded([this] { FWizard->sbAddAllFieldClick(); });
}

void TFldExpert::sbDelAllFieldClick() {
    Guarded([this] { FWizard->sbDelAllFieldClick(); });
}

void TFldExpert::bnCreateClick() {
    Guarded([this] {
        FWizard->bnCreateClick(cbUseDateEdit->isChecked(), rgLabelPos->ItemIndex());
        accept();
    });
}

namespace {

// Forgets the wizard however ExecuteFldExp ends.
struct TForgetWizard {
    ~TForgetWizard() { FldExpert = nullptr; }
};

} // namespace

void ExecuteFldExp() {
    TComponent* form = GetActiveForm();
    if (!form)
        return;
    const std::string folder = ToolServices ? ExtractFilePath(ToolServices->GetCurrentFile()) : "";
    TForgetWizard forget;
    const auto wizard = std::make_unique<TFldExpert>();
    FldExpert = wizard.get();
    wizard->SetDesignForm(*form, folder);
    if (wizard->ReadDataSet())
        wizard->exec();
    else
        HostServices().MessageDlg("Must be DBDataSet.", TMsgDlgType::mtError, mbOK);
}

} // namespace vesk
