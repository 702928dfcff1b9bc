// vesk snapshot: draws one of the add-in's windows off screen as it looks to the user
// and saves the picture as a PNG: the Field Expert on a page of its choice against a
// unit's form, or the About box with its shape (what lies outside it transparent).
#include "cli/Command.h"
#include "cli/OffscreenApp.h"
#include "expert/about/VeskAbout.h"
#include "expert/fieldexpert/FldExp.h"
#include "expert/frame/ComExp.h"
#include "platform/ota/HeadlessHost.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"

#include <QImage>
#include <QPainter>

#include <filesystem>

namespace vesk::cli {

namespace {

class SnapshotCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("WINDOW", FWindow, "what to draw: fldexp or about")
            ->required()
            ->check(CLI::IsMember({"fldexp", "about"}));
        app.add_option("--out", FOut, "the PNG file to write")->required();
        app.add_option("--unit", FUnit, "fldexp: the unit whose form is designed (.pas)");
        app.add_option("--page", FPage, "fldexp: 0 data set, 1 fields, 2 options (default 0)")
            ->check(CLI::Range(0, 2));
        app.add_option("--dataset", FDataSet,
                       "fldexp: the data set line to choose (default the "
                       "first)");
        app.add_option("--leave-out", FLeaveOut,
                       "fldexp: a field moved to the Available list (repeatable)");
        app.add_option("--version-line", FVersion, "about: the version line");
        app.add_option("--author", FAuthor, "about: the author line");
        app.add_option("--ticks", FTicks, "about: timer ticks to run before drawing (default 40)")
            ->check(CLI::Range(0, 100000));
        app.add_option("--seed", FSeed, "about: the seed of the band colours (default 1)");
    }

    int Run() override {
        const auto application = EnsureApplication("vesk snapshot");
        if (FWindow == "fldexp")
            WritePng(FieldExpert(), FOut);
        else
            WritePng(About(), FOut);
        return ExitOk;
    }

private:
    QImage FieldExpert() {
        if (FUnit.empty())
            throw CommandError("fldexp needs --unit, the unit whose form is designed");
        THeadlessHost host;
        const std::string unit = std::filesystem::absolute(FUnit).string();
        try {
            host.OpenModule(unit);
        } catch (const Exception& e) {
            throw CommandError(e.Message());
        }
        if (!host.ShowDesigner(unit))
            throw CommandError(FUnit + " has no form");
        TComponent* form = GetActiveForm();
        if (!form)
            throw CommandError("the form of " + FUnit + " is not open");
        TFldExpert wizard;
        wizard.SetDesignForm(*form, ExtractFilePath(host.GetCurrentFile()));
        if (!wizard.ReadDataSet())
            throw CommandError("Must be DBDataSet.");
        if (!FDataSet.empty())
            ChooseDataSet(wizard);
        wizard.show();
        for (int page = 0; page < FPage; ++page) {
            wizard.bnNextClick();
            if (page == 0)
                LeaveOut(wizard);
        }
        ThrowShownErrors(host);
        return wizard.grab().toImage();
    }

    void ChooseDataSet(TFldExpert& wizard) const {
        const auto& lines = wizard.Wizard().Logic().DataSetLines;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (SameText(lines[i].DataSet->Name(), FDataSet)) {
                wizard.lbDataSet->setCurrentRow(static_cast<int>(i));
                return;
            }
        throw CommandError("no data set " + FDataSet + " on the form");
    }

    void LeaveOut(TFldExpert& wizard) const {
        if (FLeaveOut.empty())
            return;
        wizard.lbField->clearSelection();
        for (const std::string& field : FLeaveOut) {
            const auto found =
                wizard.lbField->findItems(QString::fromStdString(field), Qt::MatchFixedString);
            if (found.isEmpty())
                throw CommandError("no field " + field + " in the Create list");
            found.front()->setSelected(true);
        }
        wizard.sbDelFieldClick();
    }

    // An error box the window raised while it was driven is this command's failure.
    static void ThrowShownErrors(const THeadlessHost& host) {
        const std::vector<std::string> errors = host.Services().Errors();
        if (!errors.empty())
            throw CommandError(errors.front());
    }

    QImage About() const {
        THeadlessHost host; // the error box, if the box raised one, is recorded there
        TAboutDlg dialog(nullptr, SeededRandomSource(FSeed));
        dialog.lbVersion->SetCaption(FVersion);
        dialog.lbAuthor->SetCaption(FAuthor);
        dialog.CreateBox();
        dialog.show();
        for (int i = 0; i < FTicks; ++i)
            dialog.Timer1Timer();
        ThrowShownErrors(host);
        QImage image = dialog.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        // What the window's shape leaves out is not there at all.
        const TRegion& region = dialog.Region();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!region.Contains(x, y))
                    image.setPixel(x, y, 0);
        return image;
    }

    std::string FWindow;
    std::string FOut;
    std::string FUnit;
    int FPage = 0;
    std::string FDataSet;
    std::vector<std::string> FLeaveOut;
    std::string FVersion = "Veskor 1.00";
    std::string FAuthor = "by the Vesk authors";
    int FTicks = 40;
    unsigned FSeed = 1;
};

const CommandRegistration snapshotRegistration{
    "snapshot", "Draw the Field Expert or the About box into a PNG file, as the user sees it",
    [] { return std::make_unique<SnapshotCommand>(); }};

} // namespace

} // namespace vesk::cli
