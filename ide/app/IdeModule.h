// An open module of the IDE: a file in a source editor and, for a unit with a form file
// beside it, the form read into the component model and drawn in a form view. Both
// share one page of the editor tabs; F12 switches between them.
#pragma once

#include "ide/app/SourceEditor.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>

class QStackedWidget;

namespace vesk {

class TFormFile;
class TFormFields;
class TFormView;

class TIdeModule : public QObject {
    Q_OBJECT
public:
    // Reads FileName (a full name) and the form file beside a unit; raises EInOutError
    // when a file cannot be read and EFormError when the form file is malformed. The page
    // is made without a parent: the caller puts it in its tabs.
    explicit TIdeModule(const std::string& fileName);
    // A new module with a form, not on disk yet: FileName is where its unit will be
    // written, its form file beside it (".dfm"). Raises EFormError when FormText is
    // malformed. It is modified and New until it is saved.
    TIdeModule(const std::string& fileName, std::string unitText, const std::string& formText);
    ~TIdeModule() override;

    const std::string& FileName() const { return FFileName; }
    const std::string& FormFileName() const { return FFormFileName; }
    bool HasForm() const { return FForm != nullptr; }
    // Made by File > New Form and never saved: neither file exists yet.
    bool New() const { return FNew; }
    TSourceEditor* Editor() const { return FEditor; }
    TFormView* FormView() const { return FFormView; }
    TFormFile* Form() const { return FForm.get(); }
    // The window the screen lists for the form: the view, which lives as long as the
    // module (the live form inside it is made anew at each refresh).
    QWidget* FormWindow() const;
    // The tab's page: the editor and the form view on top of each other.
    QWidget* Page() const;

    // Which of the two the page shows; ShowForm(true) does nothing without a form.
    bool FormShown() const;
    void ShowForm(bool shown);
    // The file shown: the form file while the form is, else the module's file.
    std::string ShownFile() const;
    // The widget the keyboard focus belongs in: the editor or the form view.
    QWidget* FocusTarget() const;

    // Unsaved changes in the editor or the form.
    bool Modified() const;
    // Redraws the form after a tool changed its model; true (and the module is then
    // modified) when it had changed. Raises when the live classes refuse the model (the
    // module is modified all the same: the model did change).
    bool RefreshForm();
    // Writes the form file and the unit (its form class's fields kept in step with the
    // form), each replaced atomically, both prepared before either is replaced. Raises
    // EInOutError, or EEncodingError before anything is written.
    void Save();

signals:
    void modifiedChanged();
    void shownChanged(); // the page switched between unit and form

private:
    void Build(std::string unitText); // the page, once the form (if any) is read
    void MarkFormModified();

    std::string FFileName;
    std::string FFormFileName;
    QPointer<QStackedWidget> FPage;
    TSourceEditor* FEditor = nullptr;
    std::unique_ptr<TFormFile> FForm; // outlives the view (deleted after the page)
    std::unique_ptr<TFormFields> FFields;
    TFormView* FFormView = nullptr;
    bool FFormModified = false;
    bool FNew = false;
};

} // namespace vesk
