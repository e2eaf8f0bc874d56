#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <gtest/gtest.h>

namespace {

class TShape : public CObject
{
    DECLARE_DYNAMIC(TShape)
};
IMPLEMENT_DYNAMIC(TShape, CObject)

class TCircle : public TShape
{
    DECLARE_DYNCREATE(TCircle)
public:
    int m_radius = 7;
};
IMPLEMENT_DYNCREATE(TCircle, TShape)

class TSquare : public TShape
{
    DECLARE_DYNCREATE(TSquare)
};
IMPLEMENT_DYNCREATE(TSquare, TShape)

class TSaved : public CObject
{
    DECLARE_SERIAL(TSaved)
};
IMPLEMENT_SERIAL(TSaved, CObject, 3)

} // namespace

TEST(RuntimeClass, CreatesObjectsByExactName)
{
    CRuntimeClass* pClass = CRuntimeClass::FromName("TCircle");
    ASSERT_EQ(RUNTIME_CLASS(TCircle), pClass);
    EXPECT_STREQ("TCircle", pClass->m_lpszClassName);
    EXPECT_EQ((int)sizeof(TCircle), pClass->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(TShape), pClass->m_pBaseClass);

    CObject* pObject = pClass->CreateObject();
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ(RUNTIME_CLASS(TCircle), pObject->GetRuntimeClass());
    EXPECT_EQ(7, static_cast<TCircle*>(pObject)->m_radius);
    delete pObject;

    std::unique_ptr<CObject> byName(CRuntimeClass::CreateObject("TSquare"));
    ASSERT_NE(nullptr, byName);
    EXPECT_TRUE(byName->IsKindOf(RUNTIME_CLASS(TSquare)));

    EXPECT_EQ(nullptr, CRuntimeClass::FromName("tcircle"));     // case matters
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("TCircle "));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(""));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("NoSuchClass"));
    // Known but not creatable.
    ASSERT_EQ(RUNTIME_CLASS(TShape), CRuntimeClass::FromName("TShape"));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(TShape)->CreateObject());
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
    EXPECT_EQ(RUNTIME_CLASS(CFileException), CRuntimeClass::FromName("CFileException"));
}

TEST(RuntimeClass, KindOfFollowsTheBaseChain)
{
    TCircle circle;
    struct { CRuntimeClass* cls; bool kind; } cases[] = {
        { RUNTIME_CLASS(TCircle), true }, { RUNTIME_CLASS(TShape), true },
        { RUNTIME_CLASS(CObject), true }, { RUNTIME_CLASS(TSquare), false },
        { RUNTIME_CLASS(CException), false },
    };
    for (auto& c : cases)
    {
        EXPECT_EQ(c.kind, circle.IsKindOf(c.cls) != FALSE) << c.cls->m_lpszClassName;
        EXPECT_EQ(c.kind, RUNTIME_CLASS(TCircle)->IsDerivedFrom(c.cls) != FALSE) << c.cls->m_lpszClassName;
    }
    EXPECT_FALSE(RUNTIME_CLASS(TShape)->IsDerivedFrom(RUNTIME_CLASS(TCircle)));
    EXPECT_FALSE(RUNTIME_CLASS(TShape)->IsDerivedFrom(nullptr));
    EXPECT_FALSE(circle.IsSerializable());
    TSaved saved;
    EXPECT_TRUE(saved.IsSerializable());
    EXPECT_EQ(3u, RUNTIME_CLASS(TSaved)->m_wSchema);
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("TSaved"));
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(TSaved)));

    // Every class appears once in the process-wide list.
    int seen = 0;
    for (CRuntimeClass* p = CRuntimeClass::GetFirstClass(); p; p = p->m_pNextClass)
        seen += p == RUNTIME_CLASS(TCircle);
    EXPECT_EQ(1, seen);
}

TEST(Exceptions, ThrowHelpersAreCaughtAsFrameworkExceptions)
{
    struct { void (*thrower)(); CRuntimeClass* cls; } cases[] = {
        { [] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException) },
        { [] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException) },
        { [] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException) },
        { [] { AfxThrowFileException(CFileException::fileNotFound, 2, "a.txt"); }, RUNTIME_CLASS(CFileException) },
        { [] { AfxThrowArchiveException(CArchiveException::badSchema, "t.cfg"); }, RUNTIME_CLASS(CArchiveException) },
    };
    for (auto& c : cases)
    {
        CRuntimeClass* caught = nullptr;
        try
        {
            c.thrower();
        }
        catch (CException* e)
        {
            caught = e->GetRuntimeClass();
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
            e->Delete();
        }
        EXPECT_EQ(c.cls, caught);
    }
}

TEST(Exceptions, FileExceptionCarriesCauseAndMessage)
{
    try
    {
        CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, "C:\\x\\Tools.cfg");
        FAIL() << "no exception";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(CFileException::sharingViolation, e->m_cause);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, e->m_lOsError);
        EXPECT_STREQ("C:\\x\\Tools.cfg", e->m_strFileName);
        char text[256];
        UINT help = 99;
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text, &help));
        EXPECT_STREQ("A sharing violation occurred while accessing C:\\x\\Tools.cfg.", text);
        EXPECT_EQ(0u, help);
        char small[8];
        EXPECT_TRUE(e->GetErrorMessage(small, sizeof small));
        EXPECT_STREQ("A shari", small);                   // truncated, terminated
        e->Delete();
    }
    struct { LONG os; int cause; } map[] = {
        { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
        { ERROR_PATH_NOT_FOUND, CFileException::badPath },
        { ERROR_ACCESS_DENIED, CFileException::accessDenied },
        { ERROR_DISK_FULL, CFileException::diskFull },
        { ERROR_HANDLE_EOF, CFileException::endOfFile },
        { 12345, CFileException::genericException },
    };
    for (auto& m : map)
        EXPECT_EQ(m.cause, CFileException::OsErrorToException(m.os)) << m.os;
    EXPECT_STREQ("abc.txt was not found.", CFileException::GetCauseMessage(CFileException::fileNotFound, "abc.txt"));
    EXPECT_STREQ("An unknown error occurred while accessing an unnamed file.",
                 CFileException::GetCauseMessage(999, nullptr));
}

TEST(Exceptions, ReportErrorShowsTheMessage)
{
    vt::ModalAnswerer answerer;
    CArchiveException e(CArchiveException::endOfFile, "Tools.cfg");
    e.ReportError();
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("Unexpected end of file while reading Tools.cfg."));
    EXPECT_EQ("Veltane Tool", answerer.Last().caption);

    CUserException user(FALSE);
    answerer.Clear();
    user.ReportError(MB_OK, AFX_IDS_APP_TITLE);           // no own message: the fallback id
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("Veltane Tool"));
}

TEST(Exceptions, StaticExceptionSurvivesDelete)
{
    CResourceException e(FALSE);
    e.Delete();                                             // not heap: stays
    char text[64];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
}
