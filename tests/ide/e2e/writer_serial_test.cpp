// The real program writes the built sample's images to the writer component's storage,
// verifies and uploads them, burns an image file from the Write File dialog, and deletes its
// backups when the project closes.
#include <gtest/gtest.h>
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"
#include "resources/ideres.h"
#include <memory>

namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits for the condition (the limit only guards against a hang).
template <class F>
bool WaitFor(F condition, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

HWND FindTopLevel(DWORD pid, const std::string& caption)
{
    for (HWND hwnd : vt::ProcessWindows(pid)) {
        char text[128] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (caption == text)
            return hwnd;
    }
    return nullptr;
}

std::string StaticText(HWND box)
{
    std::string all;
    for (HWND child : vt::detail::Descendants(box)) {
        char cls[32] = "", text[256] = "";
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        if (!lstrcmpiA(cls, "Static") && text[0])
            all += text;
    }
    return all;
}

TEST(WriterEndToEnd, WriteVerifyUploadAndWriteFile)
{
    vt::ProgramCopy copy;
    const std::string folder = copy.Folder();
    WritePrivateProfileStringA("Trace", "Enable", "1", (folder + "Z61QK83Writer.ini").c_str());
    const std::string base = folder + "sample\\Debug\\Sample";
    ASSERT_FALSE(Exists(base + "_user.fsf")) << "the sample comes unbuilt";

    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(process.Started());
    std::unique_ptr<vt::RemoteAnswerer> answerer(new vt::RemoteAnswerer(process.Id(), IDNO));
    HWND frame = process.MainWindow();
    ASSERT_NE(nullptr, frame);
    const std::string trace = folder + "WriterTrace.log";
    auto calls = [&] { return vt::ReadFileBytes(trace); };
    // A project command run to its end (its boxes answered meanwhile).
    auto command = [&](UINT id) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(frame, WM_COMMAND, id, 0, SMTO_NORMAL, 60000, &result) != 0;
    };

    // Write asks the build question; Yes builds the images, then writes them into the storage
    // and keeps the backups beside them.
    answerer->Queue(IDYES);
    ASSERT_TRUE(command(ID_PROJECT_WRITE));
    ASSERT_TRUE(WaitFor([&] { return CountOf(calls(), " 0x1 0x1 0x") == 1 && Exists(base + "_sys.bak"); }, 60000))
        << calls();
    ASSERT_LE(1u, answerer->Count());
    EXPECT_EQ("Source files or options of project changed! Build it now?", answerer->Seen()[0].text);
    const std::string user = vt::ReadFileBytes(base + "_user.fsf"), sys = vt::ReadFileBytes(base + "_sys.fsf");
    ASSERT_FALSE(user.empty());
    ASSERT_FALSE(sys.empty());
    EXPECT_EQ(user, vt::ReadFileBytes(base + "_user.bak"));
    EXPECT_EQ(sys, vt::ReadFileBytes(base + "_sys.bak"));
    std::string storage = vt::ReadFileBytes(folder + "WriterStorage.bin");
    // ImageSize 4 with a 1 MB system disk: the system image after 3 MB of user disk.
    ASSERT_EQ((size_t)4 * 2048 * 512, storage.size());
    EXPECT_EQ(user, storage.substr(0, user.size()));
    EXPECT_EQ(sys, storage.substr((size_t)3 * 2048 * 512, sys.size()));

    // Verify and Upload after it.
    ASSERT_TRUE(command(ID_PROJECT_VERIFY));
    EXPECT_EQ(1u, CountOf(calls(), " 0x3 0x1 0x")) << calls();
    ASSERT_TRUE(command(ID_PROJECT_UPLOAD));
    EXPECT_EQ(1u, CountOf(calls(), " 0x2 0x1 0x")) << calls();
    EXPECT_EQ(user, vt::ReadFileBytes(base + "_user_upload.bin").substr(0, user.size()));
    EXPECT_EQ(sys, vt::ReadFileBytes(base + "_sys_upload.bin").substr(0, sys.size()));
    EXPECT_EQ(1u, answerer->Count()) << answerer->Last().text;

    // Write File: the dialog driven here, its boxes answered as they come.
    answerer.reset();
    const std::string image = std::string(700, 'F') + "end";
    vt::WriteFileBytes(folder + "burn.bin", image);
    PostMessageA(frame, WM_COMMAND, ID_FILE_WRITE_FILE, 0);
    HWND dlg = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dlg = FindTopLevel(process.Id(), "Write File")) != nullptr; }));
    SendMessageA(GetDlgItem(dlg, IDC_WRITER_INPUT_FILE), WM_SETTEXT, 0, (LPARAM)(folder + "burn.bin").c_str());
    SendMessageA(GetDlgItem(dlg, IDC_WRITER_START_ADDRESS), WM_SETTEXT, 0, (LPARAM) "10");
    SendMessageA(GetDlgItem(dlg, IDC_WRITER_VERIFY), BM_CLICK, 0, 0);
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_WRITER_BURN, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDC_WRITER_BURN));
    std::vector<std::string> messages;
    ASSERT_TRUE(WaitFor([&] {
        if (HWND box = FindTopLevel(process.Id(), "Message")) {
            std::string text = StaticText(box);
            if (!text.empty()) {
                messages.push_back(text);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(box); }, 5000);
            }
        }
        return messages.size() == 2;
    })) << calls();
    EXPECT_EQ((std::vector<std::string>{"Write completed.", "Verify completed."}), messages);
    char progress[64] = "";
    GetWindowTextA(GetDlgItem(dlg, IDC_WRITER_PROGRESS), progress, sizeof progress);
    EXPECT_STREQ("Verify completed.", progress);
    storage = vt::ReadFileBytes(folder + "WriterStorage.bin");
    ASSERT_GE(storage.size(), 0x10u * 512 + image.size());
    EXPECT_EQ(image, storage.substr(0x10 * 512, image.size()));
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    // The texts are kept once the dialog has closed.
    EXPECT_TRUE(WaitFor([&] {
        char sz[32] = "";
        GetPrivateProfileStringA("Data", "StartAddress", "", sz, sizeof sz, (folder + "writerTool.ini").c_str());
        return std::string(sz) == "10";
    }));

    // Closing the project deletes the backups.
    answerer.reset(new vt::RemoteAnswerer(process.Id(), IDNO));
    ASSERT_TRUE(command(ID_FILE_CLOSE_PROJECT));
    EXPECT_FALSE(Exists(base + "_user.bak"));
    EXPECT_FALSE(Exists(base + "_sys.bak"));
    process.Close();
    EXPECT_NE(-1, process.Wait());
}

}  // namespace
