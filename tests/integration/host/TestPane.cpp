// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// A pane plug-in for the host tests. Each principal class notes its calls as "TestPane: ..." lines
// on stderr and, when CUEBOLT_TEST_PANE_LOG names a file, in that file too (a host started
// detached has no stderr the test can read).
#include "Platform/PreferencePane.h"

#include <QLabel>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

void note(const std::string& text)
{
    const std::string line = "TestPane: " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    if (const char* log = std::getenv("CUEBOLT_TEST_PANE_LOG"); log && *log)
        if (std::FILE* file = std::fopen(log, "a")) {
            std::fputs(line.c_str(), file);
            std::fclose(file);
        }
}

std::string nameOf(const Platform::Bundle& bundle)
{
    return std::filesystem::path(bundle.bundlePath()).filename().string();
}

class ShownLabel : public QLabel {
public:
    ShownLabel(const QString& text, std::string paneName) : QLabel(text), mPaneName(std::move(paneName)) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        note("view shown " + mPaneName);
        QLabel::showEvent(event);
    }

private:
    std::string mPaneName;
};

class TestPane : public Platform::NSPreferencePane {
public:
    TestPane(std::shared_ptr<Platform::Bundle> bundle, Platform::PreferencePaneHost& host, bool withView)
        : NSPreferencePane(std::move(bundle), host), mName(nameOf(*this->bundle())), mWithView(withView)
    {
        note("factory " + mName);
    }
    ~TestPane() override { note("destroyed " + mName); }

    QWidget* loadMainView() override
    {
        note("loadMainView " + mName);
        if (mWithView)
            mView = std::make_unique<ShownLabel>(QString::fromStdString("Test pane " + mName), mName);
        return mView.get();
    }
    void mainViewDidLoad() override
    {
        note("mainViewDidLoad " + mName +
             (host().mainWindow() ? " with a main window" : " without a main window"));
    }

private:
    std::string mName;
    bool mWithView;
    std::unique_ptr<QWidget> mView;
};

} // namespace

#define TEST_PANE_FACTORY(name)                                                                              \
    extern "C" __attribute__((visibility("default"))) Platform::NSPreferencePane* NSPrincipalClass_##name(   \
        std::shared_ptr<Platform::Bundle>* bundle, Platform::PreferencePaneHost* host)

TEST_PANE_FACTORY(TestPane)
{
    return new TestPane(*bundle, *host, true);
}

TEST_PANE_FACTORY(ViewlessPane)
{
    return new TestPane(*bundle, *host, false);
}

TEST_PANE_FACTORY(ThrowingPane)
{
    (void)bundle;
    (void)host;
    throw std::runtime_error("the test pane refuses to be made");
}

TEST_PANE_FACTORY(NullPane)
{
    (void)bundle;
    (void)host;
    return nullptr;
}
