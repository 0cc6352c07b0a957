// The main window's drop target with real data objects from the OLE
// clipboard: effects by the Ctrl key, and the dropped names in the queue.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "DropFileLists.h"
#include "DropTarget.h"
#include "Ole.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "TestPaths.h"

namespace {

// The clipboard's contents as an OLE data object, as a drag source hands
// them over. OleGetClipboard is resolved by name like every OLE entry.
IDataObject* clipboardDataObject()
{
    using GetClipboard = HRESULT(WINAPI*)(IDataObject**);
    auto function = reinterpret_cast<GetClipboard>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ole32.dll"), "OleGetClipboard")));
    IDataObject* data = nullptr;
    if (!function || FAILED(function(&data)))
        return nullptr;
    return data;
}

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ole32::OleInitialize());
        owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
        target = new DropTarget;
        const char* words[] = {"-Delete", "C:\\old.wav"};
        ASSERT_TRUE(playQueue.assign(words, 2));
    }

    void TearDown() override
    {
        if (data)
            data->Release();
        if (target)
            target->Release();
        emptyClipboard(owner);
        DestroyWindow(owner);
        playQueue.clear();
    }

    IDataObject* dataWithFiles(const std::vector<std::string>& names)
    {
        if (!putFileListOnClipboard(owner, names))
            return nullptr;
        return clipboardDataObject();
    }

    std::string wordAt(LONG index)
    {
        char word[MAX_PATH] = {};
        playQueue.wordAt(index, word);
        return word;
    }

    HWND owner = nullptr;
    DropTarget* target = nullptr;
    IDataObject* data = nullptr;
    POINTL point = {10, 10};
};

TEST_F(DropTargetTest, AnswersOnlyItsOwnInterfaces)
{
    void* object = nullptr;
    EXPECT_EQ(S_OK, target->QueryInterface(IID_IDropTarget, &object));
    EXPECT_EQ(static_cast<IDropTarget*>(target), object);
    target->Release();
    EXPECT_EQ(S_OK, target->QueryInterface(IID_IUnknown, &object));
    target->Release();
    EXPECT_EQ(E_NOINTERFACE, target->QueryInterface(IID_IDataObject, &object));
    EXPECT_EQ(nullptr, object);
}

TEST_F(DropTargetTest, CtrlCopiesAndPlainDragMoves)
{
    data = dataWithFiles({"C:\\a.wav"});
    ASSERT_NE(nullptr, data);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragEnter(data, MK_LBUTTON, point, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), effect);
    EXPECT_EQ(S_OK, target->DragOver(MK_LBUTTON | MK_CONTROL, point, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(S_OK, target->DragLeave());
    EXPECT_EQ(S_OK, target->DragOver(MK_LBUTTON, point, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
}

TEST_F(DropTargetTest, PlainDropReplacesTheQueue)
{
    data = dataWithFiles({"C:\\a.wav", "C:\\b.mid"});
    ASSERT_NE(nullptr, data);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, MK_LBUTTON, point, &effect);
    EXPECT_EQ(S_OK, target->Drop(data, 0, point, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    ASSERT_EQ(2, playQueue.length());
    EXPECT_EQ("C:\\a.wav", wordAt(0));
    EXPECT_EQ("C:\\b.mid", wordAt(1));
    EXPECT_EQ(-1, playQueue.position());
    EXPECT_TRUE(playQueue.cancelled());
}

TEST_F(DropTargetTest, CtrlDropAppendsToTheQueue)
{
    data = dataWithFiles({"C:\\a.wav"});
    ASSERT_NE(nullptr, data);
    playQueue.setPosition(1);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, MK_LBUTTON | MK_CONTROL, point, &effect);
    EXPECT_EQ(S_OK, target->Drop(data, MK_CONTROL, point, &effect));
    ASSERT_EQ(3, playQueue.length());
    EXPECT_EQ("-Delete", wordAt(0));
    EXPECT_EQ("C:\\a.wav", wordAt(2));
    EXPECT_EQ(1, playQueue.position());
}

// A UTF-16 list: a name that the code page holds comes in as it is, one that
// it lacks as its file's short name, and one whose file has no short name
// (it does not exist) is left out.
TEST_F(DropTargetTest, WideNamesComeInAsNamesTheCodePageHolds)
{
    std::string folder = makeTempFolder();
    const std::wstring wide = widened(folder);
    const std::string japanese = folder + "\x93\xfa\x96\x7b\x8c\xea.wav";
    const std::wstring emoji = wide + L"tone \U0001F3B5.wav", korean = wide + L"\uD55C\uAE00.mid";
    for (const std::wstring& name : {emoji, korean, widened(japanese)})
        CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(putWideFileListOnClipboard(owner, {emoji, wide + L"gone \U0001F3B5.wav", korean, widened(japanese)}));
    data = clipboardDataObject();
    ASSERT_NE(nullptr, data);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, 0, point, &effect);
    EXPECT_EQ(S_OK, target->Drop(data, 0, point, &effect));
    ASSERT_EQ(3, playQueue.length());
    EXPECT_EQ(shortNameOf(emoji), wordAt(0));
    EXPECT_EQ(shortNameOf(korean), wordAt(1));
    EXPECT_EQ(japanese, wordAt(2));
    removeTree(folder);
}

TEST_F(DropTargetTest, DataWithoutFileListFailsAndKeepsTheQueue)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    data = clipboardDataObject();
    ASSERT_NE(nullptr, data);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, 0, point, &effect);
    EXPECT_EQ(E_FAIL, target->Drop(data, 0, point, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    ASSERT_EQ(2, playQueue.length());
    EXPECT_EQ("C:\\old.wav", wordAt(1));
}

} // namespace
