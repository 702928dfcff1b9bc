// The IDE's main window on the offscreen platform, with the Qt host services over a
// settings store of the test's own, files in a folder of its own, and the message boxes
// answered as scripted (each box the IDE shows is answered with the next button and its
// text recorded).
#pragma once

#include "ide/app/IdeWindow.h"
#include "ide/project/Environment.h"
#include "platform/qt/QtHostServices.h"
#include "platform/rtl/FileUtils.h"
#include "tests/ide/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>

namespace vesk::test {

class IdeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FFolderBefore = std::filesystem::current_path();
        FServices =
            std::make_unique<TQtHostServices>(TRegistryFile::Open(FDir.File("registry.reg")));
        SetHostServices(FServices.get());
        FWindow = std::make_unique<TIdeWindow>();
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
        FBoxWatcher.setInterval(5);
        QObject::connect(&FBoxWatcher, &QTimer::timeout, [this] { AnswerBox(); });
        FBoxWatcher.start();
    }
    void TearDown() override {
        FBoxWatcher.stop();
        // Windows that delete themselves once closed go now, not after the test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FWindow.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetHostServices(nullptr);
        FServices.reset();
        EXPECT_EQ(TIdeToolServices::LiveObjects(), 0) << "handles not given back";
        EXPECT_TRUE(FAnswers.empty()) << "boxes scripted but never shown";
        // Opening a project entered its folder; the next test starts where this one did.
        std::filesystem::current_path(FFolderBefore);
    }

    // The next message box is answered with Button.
    void Answer(QMessageBox::StandardButton button) { FAnswers.push_back(button); }
    // The texts of the boxes shown so far.
    const std::vector<std::string>& Boxes() const { return FBoxes; }

    TIdeWindow& Window() { return *FWindow; }
    TTempFolder& Dir() { return FDir; }

    // Copies the sample project into the test's folder, points the library path at the
    // copy (Find Source searches it, not the sample) and starts the IDE: the known
    // packages load, and none may fail.
    void StartOnSampleCopy() {
        namespace fs = std::filesystem;
        const fs::path sample = fs::path(VESK_SOURCE_DIR) / "examples" / "sample";
        for (const auto& entry : fs::directory_iterator(sample))
            if (entry.is_regular_file())
                FDir.Write(entry.path().filename().string(),
                           ReadFileContent(entry.path().string()));
        WriteSearchPath(HostServices().SettingsStore(), FDir.Path().string());
        FWindow->Start();
        ASSERT_EQ(FWindow->MessageView()->count(), 0) << "a package failed to load";
    }

    // Opens a file written with Bytes; fails the test when it does not open.
    TIdeModule* Open(const std::string& name, const std::string& bytes) {
        TIdeModule* module = FWindow->OpenFile(FDir.Write(name, bytes));
        EXPECT_NE(module, nullptr) << name;
        return module;
    }

private:
    void AnswerBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        FBoxes.push_back(box->text().toStdString());
        if (FAnswers.empty()) {
            ADD_FAILURE() << "unscripted box: " << box->text().toStdString();
            box->reject();
            return;
        }
        QAbstractButton* button = box->button(FAnswers.front());
        FAnswers.pop_front();
        if (!button) {
            ADD_FAILURE() << "the box has no such button: " << box->text().toStdString();
            box->reject();
            return;
        }
        button->click();
    }

    std::filesystem::path FFolderBefore;
    TTempFolder FDir;
    std::unique_ptr<TQtHostServices> FServices;
    std::unique_ptr<TIdeWindow> FWindow;
    QTimer FBoxWatcher;
    std::deque<QMessageBox::StandardButton> FAnswers;
    std::vector<std::string> FBoxes;
};

} // namespace vesk::test
