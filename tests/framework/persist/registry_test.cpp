#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/persist/TWKRegistry.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

// A key of its own under HKCU for each test, removed afterwards.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_base = "Software\\VeltaneToolTests\\" + vt::UniqueName("reg");
        ASSERT_TRUE(m_reg.Connect(HKEY_CURRENT_USER));
        ASSERT_TRUE(m_reg.Create(m_base.c_str()));
    }
    void TearDown() override
    {
        m_reg.Close();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_base.c_str());
    }
    std::string Sub(const char* name) const { return m_base + "\\" + name; }
    static bool Exists(const std::string& key)
    {
        HKEY h = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(h);
        return true;
    }
    std::string RawBytes(const char* value) const
    {
        char buf[64] = {};
        DWORD size = sizeof(buf);
        if (::RegGetValueA(HKEY_CURRENT_USER, m_base.c_str(), value, RRF_RT_ANY | RRF_NOEXPAND, NULL, buf,
                           &size) != ERROR_SUCCESS)
            return "<missing>";
        return std::string(buf, size);
    }

    std::string m_base;
    TWKRegistry m_reg;
};

// Saving and loading hives needs the backup and restore privileges.
void EnablePrivilege(LPCSTR name)
{
    HANDLE token = NULL;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueA(NULL, name, &tp.Privileges[0].Luid))
        ::AdjustTokenPrivileges(token, FALSE, &tp, 0, NULL, NULL);
    ::CloseHandle(token);
}

TEST(Registry, RootNamesAndJoinedKeyNames)
{
    const struct { HKEY key; const char* name; } roots[] = {
        { HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT" }, { HKEY_CURRENT_USER, "HKEY_CURRENT_USER" },
        { HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE" }, { HKEY_USERS, "HKEY_USERS" },
        { HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG" }, { HKEY_DYN_DATA, "HKEY_DYN_DATA" },
    };
    for (const auto& r : roots) {
        EXPECT_STREQ(r.name, (LPCSTR)TWKRegistry::GetRootKeyName(r.key));
        EXPECT_EQ(r.key, TWKRegistry::GetRootKeyFromName(r.name));
    }
    EXPECT_STREQ("", (LPCSTR)TWKRegistry::GetRootKeyName(HKEY_PERFORMANCE_DATA));
    EXPECT_EQ(NULL, TWKRegistry::GetRootKeyFromName("hkey_current_user"));

    const struct { const char* parent; const char* child; const char* joined; } joins[] = {
        { "A", "B", "A\\B" }, { "A\\", "B", "A\\B" }, { "A", "\\B", "A\\B" },
        { "A\\", "\\B\\", "A\\B" }, { "A\\B", "C\\D", "A\\B\\C\\D" },
    };
    for (const auto& j : joins)
        EXPECT_STREQ(j.joined, (LPCSTR)TWKRegistry::JoinKeyNames(j.parent, j.child)) << j.parent << " + " << j.child;
}

TEST(Registry, RemoteConnectionsToLocalOnlyRootsAreRefused)
{
    for (HKEY root : { HKEY_CURRENT_USER, HKEY_CLASSES_ROOT }) {
        TWKRegistry reg;
        EXPECT_FALSE(reg.Connect(root, "FARAWAY", FALSE));
        EXPECT_EQ(ERROR_INVALID_HANDLE, reg.lErrorCode);
        EXPECT_EQ(NULL, reg.hRootKey);
        EXPECT_TRUE(reg.bCloseRoot);  // the previous setting is kept
    }
    TWKRegistry local;
    ASSERT_TRUE(local.Connect(HKEY_LOCAL_MACHINE, NULL, TRUE));
    EXPECT_FALSE(local.bRemote);
    EXPECT_STREQ("HKEY_LOCAL_MACHINE", (LPCSTR)local.strRegistryName);
    EXPECT_FALSE(local.strComputerName.IsEmpty());
    EXPECT_TRUE(local.Open("Software", KEY_READ));
    EXPECT_TRUE(local.Close());
    EXPECT_EQ(NULL, local.hRootKey);
}

TEST_F(RegistryTest, CreateOpenAndCountsAfterAnOpen)
{
    DWORD disposition = 0;
    ASSERT_TRUE(m_reg.Create((Sub("Counted") + "\\").c_str(), NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             NULL, &disposition));
    EXPECT_EQ((DWORD)REG_CREATED_NEW_KEY, disposition);
    EXPECT_STREQ(Sub("Counted").c_str(), (LPCSTR)m_reg.strKeyName);  // one trailing backslash dropped
    ASSERT_TRUE(m_reg.SetValue("one", CString("1")));
    ASSERT_TRUE(m_reg.SetValue("longer", CString("12345678")));
    ASSERT_TRUE(m_reg.Create(Sub("Counted\\Child").c_str()));
    ASSERT_TRUE(m_reg.Create(Sub("Counted").c_str(), NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                             &disposition));
    EXPECT_EQ((DWORD)REG_OPENED_EXISTING_KEY, disposition);

    ASSERT_TRUE(m_reg.Open(Sub("Counted").c_str(), KEY_READ));
    EXPECT_EQ(1u, m_reg.dwNumberOfSubkeys);
    EXPECT_EQ(2u, m_reg.dwNumberOfValues);
    EXPECT_EQ(6u, m_reg.dwLongestValueNameLength);
    DWORD longestData = 0;
    ::RegQueryInfoKeyA(m_reg.hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &longestData, NULL, NULL);
    EXPECT_EQ(longestData, m_reg.dwLongestValueDataLength);  // the platform's own measure
    EXPECT_GE(m_reg.dwLongestValueDataLength, 9u);
    EXPECT_EQ(5u, m_reg.dwLongestSubkeyNameLength);
    EXPECT_NE(0, m_reg.timeLastWrite.GetTime());

    EXPECT_FALSE(m_reg.Open(Sub("Missing").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_reg.lErrorCode);
    EXPECT_FALSE(m_reg.Create(NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);
}

TEST_F(RegistryTest, TypedValuesRoundTripWithTheirStoredBytes)
{
    ASSERT_TRUE(m_reg.SetValue("text", CString("hello")));
    ASSERT_TRUE(m_reg.SetValue("number", (DWORD)0x12345678));
    CByteArray bytes;
    for (BYTE b : { 0, 1, 0xFF, 0x80 })
        bytes.Add(b);
    ASSERT_TRUE(m_reg.SetValue("bytes", bytes));
    CStringArray strings;
    strings.Add("a");
    strings.Add("b");
    ASSERT_TRUE(m_reg.SetValue("multi", strings));

    EXPECT_EQ(std::string("hello\0", 6), RawBytes("text"));
    EXPECT_EQ(std::string("\x78\x56\x34\x12", 4), RawBytes("number"));
    EXPECT_EQ(std::string("\0\1\xFF\x80", 4), RawBytes("bytes"));
    EXPECT_EQ(std::string("a\0b\0\0", 5), RawBytes("multi"));

    ASSERT_TRUE(m_reg.Open(m_base.c_str(), KEY_ALL_ACCESS));
    CString text;
    DWORD number = 0;
    CByteArray readBytes;
    CStringArray readStrings;
    EXPECT_TRUE(m_reg.GetValue("text", text));
    EXPECT_STREQ("hello", (LPCSTR)text);
    EXPECT_TRUE(m_reg.GetValue("number", number));
    EXPECT_EQ(0x12345678u, number);
    EXPECT_TRUE(m_reg.GetValue("bytes", readBytes));
    ASSERT_EQ(4, readBytes.GetSize());
    EXPECT_EQ(0xFF, readBytes[2]);
    EXPECT_TRUE(m_reg.GetValue("multi", readStrings));
    ASSERT_EQ(2, readStrings.GetSize());
    EXPECT_STREQ("b", (LPCSTR)readStrings[1]);

    // A value of another type is not read as this one.
    EXPECT_FALSE(m_reg.GetStringValue("number", text));
    EXPECT_TRUE(text.IsEmpty());
    text = "old";
    EXPECT_FALSE(m_reg.GetStringValue("missing", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_reg.lErrorCode);
    EXPECT_FALSE(m_reg.GetValue(NULL, text));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);
    EXPECT_FALSE(m_reg.SetValue("x", REG_BINARY, NULL, 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);

    EXPECT_TRUE(m_reg.DeleteValue("text"));
    EXPECT_FALSE(m_reg.GetValue("text", text));
}

TEST_F(RegistryTest, UnterminatedTextsAreReadWithinTheirSize)
{
    HKEY h = m_reg.hKey;
    std::string full(2048, 'x');
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(h, "full", 0, REG_SZ, (const BYTE*)full.data(), 2048));
    const char multi[] = { 'a', '\0', 'b', 'c' };   // no final empty string
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(h, "multi", 0, REG_MULTI_SZ, (const BYTE*)multi, 4));

    std::string part(100, 'y');
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(h, "part", 0, REG_SZ, (const BYTE*)part.data(), 100));

    CString text;
    EXPECT_TRUE(m_reg.GetStringValue("part", text));
    EXPECT_EQ(part, std::string((LPCSTR)text));
    // The full buffer is read as 2048 characters, or refused where the platform wants room
    // for a terminator; never more.
    if (m_reg.GetStringValue("full", text))
        EXPECT_EQ(full, std::string((LPCSTR)text));
    else
        EXPECT_TRUE(text.IsEmpty());
    CStringArray values;
    values.Add("stale");
    EXPECT_TRUE(m_reg.GetStringArrayValue("multi", values));
    ASSERT_EQ(2, values.GetSize());
    EXPECT_STREQ("a", (LPCSTR)values[0]);
    EXPECT_STREQ("bc", (LPCSTR)values[1]);
}

TEST_F(RegistryTest, LongTextsAndValueNamesAreReadWhole)
{
    for (size_t length : { (size_t)2047, (size_t)2048, (size_t)5000, (size_t)70000 }) {
        std::string text(length, 't');
        text[length / 2] = 'm';
        ASSERT_TRUE(m_reg.SetStringValue("text", CString(text.c_str())));
        CString back;
        ASSERT_TRUE(m_reg.GetStringValue("text", back)) << length;
        EXPECT_EQ(text, std::string((LPCSTR)back, (size_t)back.GetLength())) << length;
    }
    std::string longName(10000, 'n');
    ASSERT_TRUE(m_reg.SetStringValue(longName.c_str(), CString("v")));
    std::vector<std::string> names;
    CString name;
    for (DWORD i = 0; m_reg.EnumerateValues(i, name, NULL, NULL, NULL); ++i)
        names.push_back(std::string((LPCSTR)name, (size_t)name.GetLength()));
    std::sort(names.begin(), names.end());
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ(longName.size(), names[0].size());
    EXPECT_TRUE(names[0] == longName);
    EXPECT_EQ("text", names[1]);
}

TEST_F(RegistryTest, EnumeratesKeysAndValuesInOrder)
{
    for (const char* name : { "K1", "K2", "K3" })
        ASSERT_TRUE(m_reg.Create(Sub(name).c_str()));
    ASSERT_TRUE(m_reg.Open(m_base.c_str(), KEY_ALL_ACCESS));
    ASSERT_TRUE(m_reg.SetValue("v1", CString("one")));
    ASSERT_TRUE(m_reg.SetValue("v2", (DWORD)2));

    CString name, cls;
    std::string keys;
    for (DWORD i = 0; m_reg.EnumerateKeys(i, name, cls); ++i)
        keys += std::string(name) + ";";
    EXPECT_EQ("K1;K2;K3;", keys);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, m_reg.lErrorCode);

    std::string values;
    DWORD type = 0;
    for (DWORD i = 0; m_reg.EnumValue(i, name, &type); ++i)
        values += std::string(name) + ":" + std::to_string(type) + ";";
    EXPECT_EQ("v1:1;v2:4;", values);
}

TEST_F(RegistryTest, RecursiveDeleteRemovesASubtreeAndKeepsTheErrorCode)
{
    for (const char* name : { "T\\A\\A1", "T\\A\\A2\\Deep", "T\\B" })
        ASSERT_TRUE(m_reg.Create(Sub(name).c_str()));
    ASSERT_TRUE(m_reg.Open(m_base.c_str(), KEY_ALL_ACCESS));

    EXPECT_FALSE(m_reg.DeleteKey(Sub("T").c_str(), FALSE));  // still has subkeys
    EXPECT_NE(ERROR_SUCCESS, m_reg.lErrorCode);
    EXPECT_TRUE(Exists(Sub("T\\A\\A2\\Deep")));

    EXPECT_TRUE(m_reg.DeleteKey((Sub("T") + "\\").c_str(), TRUE));
    EXPECT_EQ(ERROR_SUCCESS, m_reg.lErrorCode);
    EXPECT_FALSE(Exists(Sub("T")));
    // The wrapper's own key is open again and usable.
    EXPECT_TRUE(m_reg.SetValue("after", CString("yes")));

    EXPECT_FALSE(m_reg.DeleteKey(Sub("T").c_str(), TRUE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_reg.lErrorCode);
    EXPECT_FALSE(m_reg.DeleteKey("", TRUE));  // never the whole root
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);
    EXPECT_FALSE(m_reg.DeleteKey(NULL, FALSE));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);
}

TEST_F(RegistryTest, NotifyChangeSignalsAWrittenValue)
{
    HANDLE event = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    ASSERT_TRUE(m_reg.NotifyChange(event, REG_NOTIFY_CHANGE_LAST_SET, TRUE, TRUE));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, ::WaitForSingleObject(event, 0));
    HKEY other = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, m_base.c_str(), 0, KEY_ALL_ACCESS, &other));
    DWORD one = 1;
    ::RegSetValueExA(other, "changed", 0, REG_DWORD, (const BYTE*)&one, 4);
    ::RegCloseKey(other);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, ::WaitForSingleObject(event, 5000));
    ::CloseHandle(event);
}

TEST_F(RegistryTest, SavedKeyLoadsBackAsAHive)
{
    ASSERT_TRUE(m_reg.Create(Sub("Hive\\Inner").c_str()));
    ASSERT_TRUE(m_reg.SetValue("kept", CString("value")));
    ASSERT_TRUE(m_reg.Open(Sub("Hive").c_str(), KEY_ALL_ACCESS));
    EnablePrivilege(SE_BACKUP_NAME);
    EnablePrivilege(SE_RESTORE_NAME);
    vt::TempDir dir;
    std::string file = dir.File("hive.dat");
    EXPECT_FALSE(m_reg.LoadKey(NULL, file.c_str()));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, m_reg.lErrorCode);
    ASSERT_TRUE(m_reg.SaveKey(file.c_str())) << m_reg.lErrorCode;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(file.c_str()));

    TWKRegistry users;
    ASSERT_TRUE(users.Connect(HKEY_USERS, NULL, TRUE));
    std::string mount = vt::UniqueName("hive");
    ASSERT_TRUE(users.LoadKey(mount.c_str(), file.c_str())) << users.lErrorCode;
    ASSERT_TRUE(users.Open((mount + "\\Inner").c_str(), KEY_READ)) << users.lErrorCode;
    CString kept;
    EXPECT_TRUE(users.GetStringValue("kept", kept));
    EXPECT_STREQ("value", (LPCSTR)kept);
    users.Close();
    ASSERT_TRUE(users.Connect(HKEY_USERS, NULL, TRUE));
    EXPECT_TRUE(users.UnLoadKey(mount.c_str())) << users.lErrorCode;
}

} // namespace
