// The entry point of every test program: the tests run on one apartment thread with OLE
// started, as the program's own window thread does.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    HRESULT ole = OleInitialize(nullptr);
    int result = RUN_ALL_TESTS();
    if (SUCCEEDED(ole)) OleUninitialize();
    return result;
}
