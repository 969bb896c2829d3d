// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"
#include "QtApplicationEnvironment.h"

#include <QApplication>
#include <QStyledItemDelegate>

#include <cstdlib>
#include <fstream>
#include <ostream>

using namespace Platform;

void PrintTo(const ListenerControls& c, std::ostream* os)
{
    *os << '"' << c.status << "\" spinner " << (c.spinnerAnimating ? "on" : "off") << ", start "
        << c.startEnabled << ", stop " << c.stopEnabled << ", restart " << c.restartEnabled;
}

namespace {

void writePlist(const fs::path& file, const PlistDictionary& info)
{
    fs::create_directories(file.parent_path());
    const auto bytes = serializePropertyList(info, PlistFormat::Xml);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

PaneTest::PaneTest()
    : mPaneBundle(mTemp.path() / "Cuebolt.prefPane"),
      mListenerBundle(mPaneBundle / "Contents" / "Resources" / "CueboltListener.app")
{
    writePaneInfo("1.0");
    writeListenerInfo(mListenerBundle);
    for (const auto& picture : fs::directory_iterator(CUEBOLT_PANE_RESOURCES))
        if (picture.path().extension() == ".tif")
            fs::copy_file(picture.path(), mPaneBundle / "Contents" / "Resources" / picture.path().filename());
    mCenter.addObserver(
        this, [posted = mPosted](const Notification& n) { posted->push_back(n); }, std::nullopt,
        std::nullopt);
    mHost.mWindow.resize(640, 420);
}

PaneTest::~PaneTest()
{
    mPane.reset();
}

void PaneTest::writePaneInfo(const std::optional<std::string>& version)
{
    PlistDictionary info{{"CFBundleIdentifier", kPaneID}, {"NSPrincipalClass", "CBPreferencePane"}};
    if (version)
        info["CFBundleVersion"] = *version;
    writePlist(mPaneBundle / "Contents" / "Info.plist", info);
}

void PaneTest::writeListenerInfo(const fs::path& listener)
{
    writePlist(listener / "Contents" / "Info.plist",
               {{"CFBundleIdentifier", kListenerID}, {"CFBundleExecutable", "CueboltListener"}});
}

void PaneTest::makePane()
{
    PaneServices services{
        *mPreferences, mCenter, *mProcesses, mLaunch, [this] { ++mBeeps; }, [this] { return mClock.now(); },
        nullptr};
    mPane = std::make_unique<CBPreferencePane>(Bundle::bundleWithPath(mPaneBundle.string()), mHost,
                                               std::move(services));
    QWidget* view = mPane->loadMainView();
    view->setParent(&mHost.mWindow);
    view->resize(mHost.mWindow.size());
}

void PaneTest::openPane()
{
    makePane();
    mPane->mainViewDidLoad();
    mHost.mWindow.show();
}

QString PaneTest::messageText(int row) const
{
    const QModelIndex index = table()->model()->index(row, 1);
    const auto* delegate = qobject_cast<QStyledItemDelegate*>(table()->itemDelegateForColumn(1));
    return delegate->displayText(index.data(), QLocale());
}

std::vector<Notification> PaneTest::posted(const std::string& name) const
{
    std::vector<Notification> matching;
    for (const auto& n : *mPosted)
        if (n.name == name)
            matching.push_back(n);
    return matching;
}

bool PaneTest::logged(const std::string& line) const
{
    const auto lines = mLog.lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

ListenerControls PaneTest::controls() const
{
    const auto* spinner = widget<QProgressBar>("mSpinner");
    return {statusText().toStdString(), !spinner->isHidden() && spinner->maximum() == 0,
            button("mStartButton")->isEnabled(), button("mStopButton")->isEnabled(),
            button("mRestartButton")->isEnabled()};
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new TestSupport::QtApplicationEnvironment);
    return RUN_ALL_TESTS();
}
