// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"

#include "Platform/Linux/UserPreferenceStore.h"

#include <fstream>

using namespace Platform;

namespace {

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : mName(name)
    {
        if (const char* previous = std::getenv(name))
            mPrevious = previous;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (mPrevious)
            ::setenv(mName, mPrevious->c_str(), 1);
        else
            ::unsetenv(mName);
    }

private:
    const char* mName;
    std::optional<std::string> mPrevious;
};

// The pane on the user's real preference store, the autostart folder in a scratch XDG_CONFIG_HOME
// and the home directory in the scratch folder too.
class LoginItemsTest : public PaneTest {
protected:
    LoginItemsTest()
    {
        mPreferences = &mUserPreferences;
        writeFile(mAutostart / "editor.desktop", kOtherProgram);
    }

    QAbstractButton* checkBox() const { return button("mAutoStartCheckbox"); }
    std::vector<std::string> autostartFiles() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(mAutostart, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static constexpr const char* kOtherProgram =
        "[Desktop Entry]\nType=Application\nName=Editor\nExec=/usr/bin/editor --restore %U\n";

    ScopedEnvironment mConfigHome{"XDG_CONFIG_HOME", (mTemp.path() / "config").string()};
    ScopedEnvironment mHome{"HOME", mTemp.path().string()};
    fs::path mAutostart = mTemp.path() / "config" / "autostart";
    UserPreferenceStore mUserPreferences;
};

TEST_F(LoginItemsTest, CheckingAddsAnAutostartEntryThatStartsTheListener)
{
    openPane();
    ASSERT_FALSE(checkBox()->isChecked());

    checkBox()->click();

    ASSERT_EQ(autostartFiles(), (std::vector<std::string>{"CueboltListener.desktop", "editor.desktop"}));
    const std::string entry = readFile(mAutostart / "CueboltListener.desktop");
    EXPECT_NE(
        entry.find("\nExec=" + (mListenerBundle / "Contents" / "MacOS" / "CueboltListener").string() + "\n"),
        std::string::npos)
        << entry;
    EXPECT_NE(entry.find("\nX-Cuebolt-Path=" + mListenerBundle.string() + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nX-Cuebolt-Hide=false\n"), std::string::npos) << entry;
    EXPECT_EQ(readFile(mAutostart / "editor.desktop"), kOtherProgram);

    // A fresh store (the next login) reads the same entry back.
    UserPreferenceStore nextLogin;
    const auto items = nextLogin.CFPreferencesCopyValue("AutoLaunchedApplicationDictionary", "loginwindow");
    ASSERT_TRUE(items && items->is<PlistArray>());
    const auto& ours = items->getIf<PlistArray>()->front();
    EXPECT_EQ(ours,
              PlistValue(PlistDictionary{{"Path", mListenerBundle.string()},
                                         {"AliasData", *mPane->pathAsAliasAsData(mListenerBundle.string())},
                                         {"Hide", false},
                                         {"AutostartFile", "CueboltListener.desktop"}}));

    mPane.reset();
    openPane();
    EXPECT_TRUE(checkBox()->isChecked());
}

TEST_F(LoginItemsTest, UncheckingRemovesTheListenerEntryAndItsTwinsOnly)
{
    openPane();
    checkBox()->click();
    mPane.reset();
    openPane();
    ASSERT_TRUE(checkBox()->isChecked());

    checkBox()->click();

    EXPECT_EQ(autostartFiles(), std::vector<std::string>{"editor.desktop"});
    EXPECT_EQ(readFile(mAutostart / "editor.desktop"), kOtherProgram);
}

TEST_F(LoginItemsTest, EntryWrittenWithATildeIsTheListenersToo)
{
    const std::string tildePath = "~/" + fs::relative(mListenerBundle, mTemp.path()).string();
    writeFile(mAutostart / "listener-old.desktop",
              "[Desktop Entry]\nType=Application\nName=CueboltListener\nExec=/old/CueboltListener\n"
              "X-Cuebolt-Path=" +
                  tildePath + "\nX-Cuebolt-AliasData=\nX-Cuebolt-Hide=false\n");
    openPane();
    ASSERT_TRUE(checkBox()->isChecked());

    checkBox()->click();

    EXPECT_EQ(autostartFiles(), std::vector<std::string>{"editor.desktop"});
}

TEST_F(LoginItemsTest, EntryOfAMovedListenerIsNotRecognised)
{
    writeFile(mAutostart / "moved.desktop", "[Desktop Entry]\nType=Application\nName=CueboltListener\n"
                                            "Exec=/elsewhere/CueboltListener\nX-Cuebolt-Path=/elsewhere/"
                                            "CueboltListener.app\nX-Cuebolt-Hide=false\n");
    openPane();
    EXPECT_FALSE(checkBox()->isChecked());

    checkBox()->click(); // adds an entry for this listener
    checkBox()->click(); // and removes only that one

    EXPECT_EQ(autostartFiles(), (std::vector<std::string>{"editor.desktop", "moved.desktop"}));
}

TEST_F(LoginItemsTest, UncheckingWithNoLoginItemsWritesNothing)
{
    fs::remove_all(mAutostart);
    openPane();
    checkBox()->setChecked(true);

    checkBox()->click();

    EXPECT_FALSE(fs::exists(mAutostart));
}

TEST_F(LoginItemsTest, CheckingWithoutTheListenerWritesNothingAndSaysWhy)
{
    fs::remove_all(mListenerBundle);
    openPane();

    checkBox()->click();

    EXPECT_EQ(autostartFiles(), std::vector<std::string>{"editor.desktop"});
    EXPECT_TRUE(
        logged("cannot add the listener to the login items: it is missing from " + mPaneBundle.string()));
}

} // namespace
