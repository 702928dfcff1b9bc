#include "ide/app/IdeModule.h"

#include "ide/form/FormView.h"
#include "ide/project/ProjectFile.h"
#include "platform/forms/FormFile.h"
#include "platform/forms/UnitFields.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/FileUtils.h"

#include <QStackedWidget>

#include <memory>

namespace vesk {

TIdeModule::TIdeModule(const std::string& fileName)
    : FFileName(fileName), FFormFileName(FormFileBeside(fileName)) {
    std::string text = ReadFileContent(fileName);
    if (!FFormFileName.empty())
        FForm = TFormFile::LoadFromFile(FFormFileName);
    Build(std::move(text));
}

TIdeModule::TIdeModule(const std::string& fileName, std::string unitText,
                       const std::string& formText)
    : FFileName(fileName), FFormFileName(ChangeFileExt(fileName, ".dfm")), FNew(true) {
    FForm = TFormFile::Parse(formText);
    Build(std::move(unitText));
    // Nothing of it is on disk yet: it is unsaved until its first save.
    FFormModified = true;
    FEditor->setModified(true);
}

void TIdeModule::Build(std::string unitText) {
    if (FForm)
        FFields = std::make_unique<TFormFields>(*FForm->Root());
    // Held here until it is whole: a form the view cannot draw leaves nothing behind.
    auto page = std::make_unique<QStackedWidget>();
    FEditor = new TSourceEditor(page.get());
    FEditor->SetFileName(FFileName);
    FEditor->LoadBytes(std::move(unitText));
    page->addWidget(FEditor);
    if (FForm) {
        FFormView = new TFormView(*FForm, page.get());
        page->addWidget(FFormView);
        // What the user designs marks the module modified; an undo rebuilds the model's
        // components, and the unit's declarations follow them.
        connect(FFormView, &TFormView::modelChanged, this, &TIdeModule::MarkFormModified);
        FFormView->Designer().OnReplaced = [this](const std::vector<TComponentReplacement>& r) {
            FFields->Rebuilt(r);
        };
    }
    page->setCurrentWidget(FEditor);
    FPage = page.release();
    connect(FEditor, &QsciScintilla::modificationChanged, this, &TIdeModule::modifiedChanged);
}

TIdeModule::~TIdeModule() {
    // The page and its form view go before the form they show.
    delete FPage.data();
}

QWidget* TIdeModule::Page() const {
    return FPage;
}

QWidget* TIdeModule::FormWindow() const {
    return FFormView;
}

bool TIdeModule::FormShown() const {
    return FFormView && FPage && FPage->currentWidget() == FFormView;
}

void TIdeModule::ShowForm(bool shown) {
    if (!FPage || (shown && !FFormView) || shown == FormShown())
        return;
    FPage->setCurrentWidget(shown ? static_cast<QWidget*>(FFormView) : FEditor);
    emit shownChanged();
}

std::string TIdeModule::ShownFile() const {
    return FormShown() ? FFormFileName : FFileName;
}

QWidget* TIdeModule::FocusTarget() const {
    return FormShown() ? static_cast<QWidget*>(FFormView) : FEditor;
}

bool TIdeModule::Modified() const {
    return FFormModified || FEditor->isModified();
}

bool TIdeModule::RefreshForm() {
    if (!FFormView)
        return false;
    bool changed = false;
    try {
        changed = FFormView->Refresh();
    } catch (...) {
        MarkFormModified();
        throw;
    }
    if (changed)
        MarkFormModified();
    return changed;
}

void TIdeModule::MarkFormModified() {
    if (!FFormModified) {
        FFormModified = true;
        emit modifiedChanged();
    }
}

void TIdeModule::Save() {
    if (!FForm) {
        const std::string bytes = FEditor->FileBytes();
        ReplaceFile(FFileName, bytes);
        FEditor->setModified(false);
        return;
    }
    // The unit's declarations follow the form: renamed components' fields renamed,
    // added ones declared. The editor shows the unit as it is written.
    const std::string text = FEditor->Utf8Text();
    const std::string updated = FFields->Apply(text, *FForm->Root());
    if (updated != text)
        FEditor->ReplaceText(updated);
    const std::string unitBytes = FEditor->FileBytes();
    const std::string formBytes = FForm->Save();
    TFileReplace form(FFormFileName);
    form.Write(formBytes);
    TFileReplace unit(FFileName);
    unit.Write(unitBytes);
    form.Prepare();
    unit.Prepare();
    form.Commit();
    unit.Commit();
    FFields->Remember(*FForm->Root());
    FNew = false;
    FFormModified = false;
    FEditor->setModified(false);
    emit modifiedChanged();
}

} // namespace vesk
