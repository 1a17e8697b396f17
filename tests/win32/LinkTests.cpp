// SPDX-License-Identifier: MIT
//
// cvcoms-win32-tests.exe: the link tests on Windows. Loads CVcoms.dll by name,
// starts fs98ipc-testserver.exe and drives the thirteen exports against it:
// batches, single exchanges, a second startit, instance numbers, the closed
// connection, the empty batch, an unknown kind in the answer, a hung and a
// dead simulator, stopit and unloading. Prints one line per test, then
// "N passed, M failed", and measures the round trip of one batch.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/CvcomsLibrary.h"
#include "tests/win32/MiniTest.h"
#include "tests/win32/ServerProcess.h"
#include "tests/win32/TestServerLayout.h"

namespace corvane::win32test {
namespace {

constexpr DWORD kServerStartWaitMs = 30000;

struct Context {
    ServerProcess& server;
    std::string serverProgram;
    int batches;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart) / 1000.0;
    }();
    return double(to.QuadPart - from.QuadPart) / ticksPerMs;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

std::string AreaName(std::uint32_t instance) {
    char name[64];
    std::snprintf(name, sizeof name, "FsasmLib:IPC:%lX:%lX", ::GetCurrentProcessId(),
                  static_cast<unsigned long>(instance));
    return name;
}

bool MappingExists(const std::string& name) {
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping == nullptr)
        return false;
    ::CloseHandle(mapping);
    return true;
}

bool AtomExists(const std::string& name) {
    return ::GlobalFindAtomA(name.c_str()) != 0;
}

std::uint32_t Word(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint32_t PatternWord(std::uint32_t offset) {
    std::uint8_t bytes[4];
    for (std::uint32_t i = 0; i < 4; ++i)
        bytes[i] = PatternByte(offset + i);
    return Word(bytes);
}

bool MatchesPattern(const std::uint8_t* bytes, std::uint32_t offset, std::uint32_t size) {
    for (std::uint32_t i = 0; i < size; ++i) {
        if (bytes[i] != PatternByte(offset + i))
            return false;
    }
    return true;
}

// The area name the server was asked to serve by the last message.
std::string ServedAreaName(CvcomsLibrary& link) {
    char name[kAreaNameSize + 1] = {};
    if (link.readxbytes(std::int32_t(kAreaNameSize), kAreaNameOffset, name) != 1)
        return "?";
    return name;
}

std::uint32_t ServedCount(CvcomsLibrary& link) {
    std::uint32_t count = 0;
    link.readDWORD(kServedCountOffset, &count);
    return count;
}

bool Open(CvcomsLibrary& link, Check& check) {
    check.That(link.Loaded(), "library: " + link.Error());
    if (!link.Loaded())
        return false;
    const std::int32_t kind = link.fsworking();
    check.That(kind == 2, "fsworking returned " + std::to_string(kind) + ", expected 2");
    const std::int32_t opened = link.startit();
    check.That(opened == 1, "startit returned " + std::to_string(opened));
    return kind == 2 && opened == 1;
}

void ExportsAreUndecorated(Check& check, Context&) {
    CvcomsLibrary link;
    check.That(link.Loaded(), link.Error());
    for (const char* decorated : {"fsworking@0", "_fsworking@0", "readxbytes@12", "_stopit@0"}) {
        check.That(::GetProcAddress(link.Module(), decorated) == nullptr,
                   std::string("decorated name exported: ") + decorated);
    }
}

void NoSimulatorWindow(Check& check, Context&) {
    CvcomsLibrary link;
    if (!link.Loaded())
        return check.That(false, link.Error());
    check.That(link.fsworking() == 1, "fsworking without a simulator window is not 1");
    check.That(link.startit() == 1, "startit for no window did not open the area");
    check.That(MappingExists(AreaName(0)), "area " + AreaName(0) + " not created");
    std::uint32_t value = 0;
    const LARGE_INTEGER start = Now();
    check.That(link.readDWORD(0x100, &value) == 0, "readDWORD to no window succeeded");
    check.That(Milliseconds(start, Now()) < 500, "send to no window did not fail at once");
    check.That(link.startmessage() == 1 && link.sendmessage() == 0,
               "empty batch to no window succeeded");
    check.That(link.stopit() == 0, "stopit is not 0");
}

void FsworkingFindsTheWindow(Check& check, Context& context) {
    CvcomsLibrary link;
    if (!link.Loaded())
        return check.That(false, link.Error());
    check.That(link.fsworking() == 2, "fsworking did not report FS98MAIN (2)");
    check.That(context.server.Window() != nullptr, "no server window");
}

void BatchReadsAndWrites(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    std::uint32_t heading = 0;
    std::uint8_t odd[3] = {};
    std::uint8_t block[1000] = {};
    std::uint32_t untouched = 0xA5A5A5A5;
    std::uint32_t readBack = 0;
    std::uint16_t shortBack = 0;
    const std::uint32_t marker = 0xDEADBEEF;
    const std::uint16_t throttle = 0x1234;
    check.That(link.startmessage() == 1, "startmessage");
    check.That(link.rawreadDWORD(0x0580, &heading) == 1, "rawreadDWORD");
    check.That(link.rawreadxbytes(3, 0x0365, odd) == 1, "rawreadxbytes 3");
    check.That(link.rawreadxbytes(0, 0x0200, &untouched) == 1, "rawreadxbytes 0");
    check.That(link.rawwriteDWORD(kScratchOffset, &marker) == 1, "rawwriteDWORD");
    check.That(link.rawwritexbytes(2, kScratchOffset + 6, &throttle) == 1, "rawwritexbytes");
    check.That(link.rawreadDWORD(kScratchOffset, &readBack) == 1, "rawreadDWORD back");
    check.That(link.rawreadxbytes(2, kScratchOffset + 6, &shortBack) == 1, "rawreadxbytes back");
    check.That(link.rawreadxbytes(sizeof block, 0x1000, block) == 1, "rawreadxbytes 1000");
    check.That(link.sendmessage() == 1, "sendmessage of the batch");
    check.That(heading == PatternWord(0x0580), "DWORD read does not match the variable");
    check.That(MatchesPattern(odd, 0x0365, 3), "3-byte read does not match");
    check.That(untouched == 0xA5A5A5A5, "size-0 read changed its destination");
    check.That(readBack == marker, "write not read back in the same batch");
    check.That(shortBack == throttle, "2-byte write not read back");
    check.That(MatchesPattern(block, 0x1000, sizeof block), "1000-byte read does not match");

    // Many batches in a row keep working: the cursor is back at the start.
    bool allAnswered = true;
    for (std::uint32_t i = 0; i < 200 && allAnswered; ++i) {
        std::uint32_t value = 0;
        allAnswered = link.startmessage() == 1 && link.rawwriteDWORD(kScratchOffset + 8, &i) == 1 &&
                      link.rawreadDWORD(kScratchOffset + 8, &value) == 1 &&
                      link.sendmessage() == 1 && value == i;
    }
    check.That(allAnswered, "200 batches in a row did not all succeed");
    link.stopit();
}

void ReadRecordCarriesTheDestinationAddress(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    std::uint32_t first = 0;
    const std::uint16_t value = 0xBEEF;
    check.That(link.startmessage() == 1 && link.rawreadDWORD(0x0580, &first) == 1 &&
                   link.rawwritexbytes(2, kScratchOffset + 16, &value) == 1 &&
                   link.sendmessage() == 1,
               "batch");
    // The server keeps the first bytes of that block as they were laid.
    std::uint8_t laid[kLastBlockSize] = {};
    check.That(link.readxbytes(std::int32_t(kLastBlockSize), kLastBlockOffset, laid) == 1,
               "reading the laid block");
    // A 32-bit program's word is the buffer's address itself; a 64-bit
    // address does not fit, so there the word numbers the batch's reads.
    const std::uint32_t address =
        sizeof(void*) == 4 ? std::uint32_t(reinterpret_cast<std::uintptr_t>(&first)) : 0;
    check.That(Word(laid) == 1 && Word(laid + 4) == 0x0580 && Word(laid + 8) == 4,
               "read record header is not 1, offset, 4");
    check.That(Word(laid + 12) == address, "destination word is not the buffer's address");
    check.That(Word(laid + 20) == 2 && Word(laid + 24) == kScratchOffset + 16 &&
                   Word(laid + 28) == 2 && laid[32] == 0xEF && laid[33] == 0xBE,
               "write record is not 2, offset, 2, data");
    check.That(Word(laid + 34) == 0, "end word missing after the write record");
    link.stopit();
}

void SingleExchanges(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    const std::uint32_t value = 0x01020304;
    std::uint32_t back = 0;
    check.That(link.writeDWORD(kScratchOffset + 32, &value) == 1, "writeDWORD");
    check.That(link.readDWORD(kScratchOffset + 32, &back) == 1 && back == value, "readDWORD back");
    const char text[] = "KSEA";
    char textBack[5] = {};
    check.That(link.writexbytes(4, kScratchOffset + 40, text) == 1, "writexbytes");
    check.That(link.readxbytes(4, kScratchOffset + 40, textBack) == 1 &&
                   std::strcmp(textBack, "KSEA") == 0,
               "readxbytes back");
    std::uint8_t pattern[7] = {};
    check.That(link.readxbytes(7, 0x2001, pattern) == 1 && MatchesPattern(pattern, 0x2001, 7),
               "readxbytes of 7 pattern bytes");
    // A single exchange discards a half-built batch.
    const std::uint32_t discarded = 99;
    check.That(link.startmessage() == 1 && link.rawwriteDWORD(kScratchOffset + 32, &discarded) == 1,
               "laying the half-built batch");
    check.That(link.readDWORD(kScratchOffset + 32, &back) == 1 && back == value,
               "the half-built batch was sent by the single exchange");
    link.stopit();
}

void AreaHoldsExactlyOneFullBatch(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    // 16 bytes of header, the data and the end word fill the 65536 bytes.
    std::vector<std::uint8_t> all(65536 - 16 - 4);
    std::uint32_t extra = 0;
    check.That(link.startmessage() == 1, "startmessage");
    check.That(link.rawreadxbytes(std::int32_t(all.size() + 1), 0, all.data()) == 0,
               "a read one byte too large was laid");
    check.That(link.rawreadxbytes(std::int32_t(all.size()), 0, all.data()) == 1,
               "a read that exactly fills the area was refused");
    check.That(link.rawreadDWORD(0, &extra) == 0, "a request behind the full area was laid");
    check.That(link.sendmessage() == 1, "the full batch was not answered with 1");
    check.That(MatchesPattern(all.data(), 0, kScratchOffset), "the full read does not match");
    link.stopit();
}

void EmptyBatch(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    const std::uint32_t before = ServedCount(link);
    check.That(link.startmessage() == 1 && link.sendmessage() == 1, "empty batch not answered 1");
    const std::uint32_t after = ServedCount(link);
    check.That(after == before + 2, "the empty batch did not reach the server");
    link.stopit();
}

void ReadPastTheVariableSpaceAnswersZero(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    std::uint32_t before = 0, past = 0;
    check.That(link.startmessage() == 1 && link.rawreadDWORD(0x0580, &before) == 1 &&
                   link.rawreadDWORD(kVariableSpaceSize - 2, &past) == 1,
               "laying the batch");
    check.That(link.sendmessage() == 0, "a read past the variable space was answered with 1");
    check.That(before == PatternWord(0x0580), "the read before it was not copied");
    check.That(link.readDWORD(0x0580, &before) == 1, "the link does not work afterwards");
    link.stopit();
}

void UnknownKindCopiesOnlyTheReadsBeforeIt(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    std::uint32_t first = 0, third = 0x5A5A5A5A;
    const std::uint32_t corruptThird = 3;
    check.That(link.startmessage() == 1 && link.rawreadDWORD(0x0580, &first) == 1 &&
                   link.rawwriteDWORD(kCorruptRecordOffset, &corruptThird) == 1 &&
                   link.rawreadDWORD(0x0584, &third) == 1,
               "laying the batch");
    check.That(link.sendmessage() == 0, "an unknown kind in the answer was taken as success");
    check.That(first == PatternWord(0x0580), "the read before the unknown kind was not copied");
    check.That(third == 0x5A5A5A5A, "the read behind the unknown kind was copied");
    check.That(link.readDWORD(0x0584, &third) == 1 && third == PatternWord(0x0584),
               "the next batch does not work");
    link.stopit();
}

void SecondStartitKeepsTheFirstConnection(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    check.That(link.startit() == 0, "second startit did not return 0");
    check.That(ServedAreaName(link) == AreaName(0), "the link no longer uses " + AreaName(0));
    check.That(!MappingExists(AreaName(1)), "the second startit created " + AreaName(1));
    link.stopit();
}

void InstanceNumbersCountFailedOpens(Check& check, Context&) {
    // Taking the name of instance 0 first makes the library's first open find
    // it already existing.
    HANDLE squatter = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536,
                                           AreaName(0).c_str());
    check.That(squatter != nullptr, "cannot create " + AreaName(0));
    {
        CvcomsLibrary link;
        if (!link.Loaded())
            return check.That(false, link.Error());
        check.That(link.fsworking() == 2, "fsworking");
        check.That(link.startit() == 0, "startit over an existing area name did not fail");
        check.That(!AtomExists(AreaName(0)), "the failed open left its atom behind");
        std::uint32_t value = 0;
        check.That(link.readDWORD(0x0580, &value) == 0, "exchange after a failed open succeeded");
        check.That(link.startit() == 1, "startit after a failed attempt");
        check.That(ServedAreaName(link) == AreaName(1), "second attempt does not use instance 1");
        link.stopit();
        check.That(link.startit() == 1, "startit after stopit");
        check.That(ServedAreaName(link) == AreaName(2), "third attempt does not use instance 2");
        link.stopit();
    }
    if (squatter != nullptr)
        ::CloseHandle(squatter);
}

void StopitClosesEverything(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    const std::string name = AreaName(0);
    check.That(AtomExists(name) && MappingExists(name), "open connection without atom or area");
    check.That(link.stopit() == 0, "stopit is not 0");
    check.That(!AtomExists(name), "stopit left the atom");
    check.That(!MappingExists(name), "stopit left the area");
    std::uint8_t buffer[8] = {};
    struct Call {
        const char* name;
        std::int32_t result;
    };
    const Call calls[] = {
        {"readDWORD", link.readDWORD(0x0580, buffer)},
        {"writeDWORD", link.writeDWORD(kScratchOffset, buffer)},
        {"readxbytes", link.readxbytes(4, 0x0580, buffer)},
        {"writexbytes", link.writexbytes(4, kScratchOffset, buffer)},
        {"startmessage", link.startmessage()},
        {"rawreadxbytes", link.rawreadxbytes(4, 0x0580, buffer)},
        {"rawwritexbytes", link.rawwritexbytes(4, kScratchOffset, buffer)},
        {"rawreadDWORD", link.rawreadDWORD(0x0580, buffer)},
        {"rawwriteDWORD", link.rawwriteDWORD(kScratchOffset, buffer)},
        {"sendmessage", link.sendmessage()},
        {"stopit", link.stopit()},
    };
    for (const Call& call : calls) {
        check.That(call.result == 0, std::string(call.name) + " on a closed connection is not 0");
    }
    check.That(link.startit() == 1, "startit after stopit");
    check.That(ServedAreaName(link) == AreaName(1), "reopened link does not use instance 1");
    link.stopit();
}

void UnloadClosesTheConnection(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    const std::string name = AreaName(0);
    check.That(AtomExists(name) && MappingExists(name), "open connection without atom or area");
    link.Unload();
    check.That(!AtomExists(name), "unloading left the atom");
    check.That(!MappingExists(name), "unloading left the area");
}

void HungSimulatorTimesOutAndNeverServesTheLateBatch(Check& check, Context&) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    const std::uint32_t before = 1, late = 77, holdMs = 3500;
    check.That(link.writeDWORD(kScratchOffset + 48, &before) == 1, "first write");
    check.That(link.writeDWORD(kHoldNextMsOffset, &holdMs) == 1, "arming the hold");
    ::Sleep(100);  // the server takes up the hold
    const LARGE_INTEGER start = Now();
    check.That(link.writeDWORD(kScratchOffset + 48, &late) == 0,
               "the send to a hung simulator succeeded");
    const double waitedMs = Milliseconds(start, Now());
    check.That(waitedMs >= 1900 && waitedMs < 3000,
               "the send gave up after " + std::to_string(int(waitedMs)) + " ms, not ~2000");
    ::Sleep(2000);  // the server wakes up
    std::uint32_t now = 0;
    check.That(link.readDWORD(kScratchOffset + 48, &now) == 1,
               "the link does not work after the simulator woke up");
    // The system drops a sent message that the receiver had not taken when
    // the sender stopped waiting.
    check.That(now == before, "the batch whose sender stopped waiting was served later");
    link.stopit();
}

// The round trip of one batch of the size the program sends each cycle.
void BatchRoundTrip(Check& check, Context& context) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    static const std::uint32_t kSizes[21] = {8, 8, 4, 4, 4, 4, 2, 2, 2, 4, 4,
                                             4, 2, 2, 4, 4, 2, 4, 4, 2, 2};
    std::uint8_t readings[21][8];
    const std::uint32_t writes[3] = {1, 2, 3};
    std::vector<double> timesUs;
    timesUs.reserve(std::size_t(context.batches));
    bool allAnswered = true;
    for (int batch = -50; batch < context.batches; ++batch) {  // 50 to warm up
        const LARGE_INTEGER start = Now();
        std::int32_t ok = link.startmessage();
        for (int i = 0; i < 21; ++i) {
            ok &= link.rawreadxbytes(std::int32_t(kSizes[i]), 0x0500 + 16 * i, readings[i]);
        }
        for (int i = 0; i < 3; ++i)
            ok &= link.rawwriteDWORD(kScratchOffset + 64 + 4 * i, &writes[i]);
        ok &= link.sendmessage();
        const LARGE_INTEGER end = Now();
        allAnswered = allAnswered && ok == 1;
        if (batch >= 0)
            timesUs.push_back(Milliseconds(start, end) * 1000.0);
    }
    check.That(allAnswered, "not every batch was answered with 1");
    bool readingsMatch = true;
    for (int i = 0; i < 21; ++i) {
        readingsMatch = readingsMatch && MatchesPattern(readings[i], 0x0500 + 16 * i, kSizes[i]);
    }
    check.That(readingsMatch, "the readings of the last batch do not match");
    link.stopit();
    if (timesUs.empty())
        return;
    std::sort(timesUs.begin(), timesUs.end());
    std::printf(
        "round trip of one batch (21 reads, 3 writes): median %.1f us, p90 %.1f us, "
        "min %.1f us over %zu batches\n",
        timesUs[timesUs.size() / 2], timesUs[timesUs.size() * 9 / 10], timesUs.front(),
        timesUs.size());
}

void DeadSimulatorFailsAtOnce(Check& check, Context& context) {
    CvcomsLibrary link;
    if (!Open(link, check))
        return;
    std::uint32_t value = 0;
    check.That(link.readDWORD(0x0580, &value) == 1, "exchange before the server died");
    context.server.Kill();
    const LARGE_INTEGER start = Now();
    check.That(link.readDWORD(0x0580, &value) == 0, "exchange with a dead server succeeded");
    const double waitedMs = Milliseconds(start, Now());
    check.That(waitedMs < 500,
               "the send to a dead server took " + std::to_string(int(waitedMs)) + " ms");
    check.That(link.fsworking() == 1, "fsworking still finds the dead server's window");
    link.stopit();
}

struct TestCase {
    const char* name;
    void (*run)(Check&, Context&);
    bool needsServer;
};

const TestCase kTests[] = {
    {"exports_are_undecorated", ExportsAreUndecorated, false},
    {"no_simulator_window", NoSimulatorWindow, false},
    {"fsworking_finds_the_window", FsworkingFindsTheWindow, true},
    {"batch_reads_and_writes", BatchReadsAndWrites, true},
    {"read_record_carries_the_destination_address", ReadRecordCarriesTheDestinationAddress, true},
    {"single_exchanges", SingleExchanges, true},
    {"area_holds_exactly_one_full_batch", AreaHoldsExactlyOneFullBatch, true},
    {"empty_batch", EmptyBatch, true},
    {"read_past_the_variable_space_answers_zero", ReadPastTheVariableSpaceAnswersZero, true},
    {"unknown_kind_copies_only_the_reads_before_it", UnknownKindCopiesOnlyTheReadsBeforeIt, true},
    {"second_startit_keeps_the_first_connection", SecondStartitKeepsTheFirstConnection, true},
    {"instance_numbers_count_failed_opens", InstanceNumbersCountFailedOpens, true},
    {"stopit_closes_everything", StopitClosesEverything, true},
    {"unload_closes_the_connection", UnloadClosesTheConnection, true},
    {"hung_simulator_times_out_and_never_serves_the_late_batch",
     HungSimulatorTimesOutAndNeverServesTheLateBatch, true},
    {"batch_round_trip", BatchRoundTrip, true},
    {"dead_simulator_fails_at_once", DeadSimulatorFailsAtOnce, true},
};

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

void PrintUsage() {
    std::printf(
        "Usage: cvcoms-win32-tests.exe [--server PROGRAM] [--batches N]\n"
        "\n"
        "Loads CVcoms.dll by name (LoadLibraryA(\"CVcoms\")), starts the test\n"
        "server and runs the link tests against it. Prints one line per test and\n"
        "a last line \"N passed, M failed\"; the exit status is 1 when a test failed.\n"
        "\n"
        "  --server PROGRAM  the test server (default: fs98ipc-testserver.exe in\n"
        "                    this program's folder)\n"
        "  --batches N       batches timed for the round trip (default 1000)\n"
        "  --help            show this text\n");
}

}  // namespace
}  // namespace corvane::win32test

int main(int argc, char** argv) {
    using namespace corvane::win32test;
    std::string serverProgram = ProgramFolder() + "\\fs98ipc-testserver.exe";
    int batches = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage();
            return 0;
        } else if (arg == "--server" && i + 1 < argc) {
            serverProgram = argv[++i];
        } else if (arg == "--batches" && i + 1 < argc) {
            batches = std::atoi(argv[++i]);
            if (batches < 1 || batches > 1000000) {
                std::fprintf(stderr, "cvcoms-win32-tests: --batches wants 1 to 1000000\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "cvcoms-win32-tests: unknown argument '%s' (try --help)\n",
                         arg.c_str());
            return 2;
        }
    }

    ServerProcess server;
    Context context{server, serverProgram, batches};
    bool serverStarted = false;
    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        if (test.needsServer && !serverStarted) {
            serverStarted = true;
            if (!server.Start(serverProgram, kServerStartWaitMs)) {
                std::printf("error: %s\n", server.Error().c_str());
            }
        }
        if (test.needsServer && server.Window() == nullptr) {
            check.That(false, "the test server is not running");
        } else {
            test.run(check, context);
        }
        tally.Record(test.name, check);
    }
    server.Stop(3000);
    return tally.Finish();
}
