#include "ui/main/frame/status_bar.h"

#include <gtest/gtest.h>

using namespace tv;

TEST(StatusBarTexts, WhatWasAddedCountsEachKindInItsNumberAndLeavesOutKindsWithNone) {
    struct Case {
        AddedCounts added;
        const wchar_t* done;
        const wchar_t* said;
    };
    const Case cases[] = {
        {{3, 2, 1, 0}, L"recorded into", L"3 programs, 2 documents, 1 folder recorded into Dec 10,2026_002"},
        {{1, 0, 0, 1}, L"recorded into", L"1 program, 1 web page recorded into Dec 10,2026_002"},
        {{0, 1, 2, 3}, L"added to", L"1 document, 2 folders, 3 web pages added to Dec 10,2026_002"},
        {{0, 0, 0, 0}, L"recorded into", L"Nothing new recorded into Dec 10,2026_002"},
        {{0, 0, 0, 0}, L"added to", L"Nothing new added to Dec 10,2026_002"},
    };
    for (const Case& c : cases) EXPECT_EQ(AddedSummary(c.added, c.done, L"Dec 10,2026_002"), c.said);

    SYSTEMTIME at{2026, 12, 4, 10, 4, 3, 2, 999};
    EXPECT_EQ(SmartRecordIdleText(at), L"Smart Record: nothing new at 04:03:02");
    at.wHour = 23;
    at.wMinute = 59;
    at.wSecond = 59;
    EXPECT_EQ(SmartRecordIdleText(at), L"Smart Record: nothing new at 23:59:59");
}
