// The currency core's files and registry values on the platform: unshared
// reads, saves that never destroy the previous file, the byte-exact forms of
// rates.txt and quantrel.dat, the `Updated` flag and the Today item.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "currency/core/currency_files.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

// Holds a file open for reading and writing with no sharing, as the other
// deliverable does while it reads or writes it.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (isOpen()) CloseHandle(handle_);
    }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::unique_ptr<CurrencyTable> newTable() { return std::unique_ptr<CurrencyTable>(new CurrencyTable{}); }

void setEntry(CurrencyTable& table, int index, const std::string& name, double rate) {
    std::memset(table.entries[index].name, 0, kCurrencyNameSize);
    std::memcpy(table.entries[index].name, name.data(), name.size());
    table.entries[index].rate = rate;
}

bool sameTable(const CurrencyTable& a, const CurrencyTable& b) { return std::memcmp(&a, &b, sizeof a) == 0; }


struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    DWORD number() const {
        DWORD value = 0;
        if (data.size() == sizeof value) std::memcpy(&value, data.data(), sizeof value);
        return value;
    }
};

RegistryValue queryValue(const wchar_t* keyPath, const wchar_t* name) {
    RegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.present =
            RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

void setValue(const wchar_t* keyPath, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}


class CurrencyFilesTest : public ::testing::Test {
protected:
    void TearDown() override { failSavesAt(SaveStep::none); }
    const wchar_t* directory() const { return place.directory().c_str(); }
    std::wstring ratesPath() const { return place.file(kRatesFileName); }
    std::wstring selectionPath() const { return place.file(kSelectionFileName); }

    ScratchPlace place;
};

// ---- rates.txt ---------------------------------------------------------------

TEST_F(CurrencyFilesTest, MissingOrLockedRatesFileLeavesTheTable) {
    const std::string loaded = "Loaded\nA\t1.5\nB\t2.5\nC\t3.5\n";
    struct Case {
        const char* name;
        bool fileExists;
        bool held;
    } cases[] = {
        {"missing file", false, false},
        {"file held open unshared by another opener", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileBytes(ratesPath(), loaded));
        auto table = newTable();
        loadRates(directory(), *table);
        ASSERT_EQ(3, table->count);
        CurrencyTable before = *table;

        DeleteFileW(ratesPath().c_str());
        if (c.fileExists) {
            ASSERT_TRUE(writeFileBytes(ratesPath(), "Other\nZ\t9\n"s));
        }
        std::unique_ptr<HeldOpen> holder(c.held ? new HeldOpen(ratesPath()) : nullptr);
        if (holder) {
            ASSERT_TRUE(holder->isOpen());
        }
        loadRates(directory(), *table);
        EXPECT_TRUE(sameTable(before, *table)) << "expected the table of the earlier load, got header \""
                                               << table->headerLine << "\" and count " << table->count;
    }
}

TEST_F(CurrencyFilesTest, RatesFileIsWrittenByteForByte) {
    struct Case {
        const char* name;
        std::string file;      // what rates.txt holds before the load
        std::string written;   // what saveRates writes from the loaded table
    } cases[] = {
        {"the eleven-byte file", "H\nA\t2\n", "H\nA\t2.0000\n\0"s},
        {"CR LF file keeps CR LF after the header only", "H\r\nA\t1.5\r\nB\t110\r\n",
         "H\r\nA\t1.5000\nB\t110.0000\n\0"s},
        {"last line without line feed not read", "H\nA\t1\nB\t2", "H\nA\t1.0000\n\0"s},
        {"file written by this program reads back", "H\nA\t2.0000\n\0"s, "H\nA\t2.0000\n\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileBytes(ratesPath(), c.file));
        auto table = newTable();
        loadRates(directory(), *table);
        saveRates(directory(), *table);
        std::string got = readFileBytes(ratesPath());
        EXPECT_EQ(c.written, got) << "expected \"" << printableBytes(c.written) << "\", got \"" << printableBytes(got)
                                  << "\"";
    }
}

TEST_F(CurrencyFilesTest, ShorterFileLeavesNoStaleEntries) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Five\nA\t1\nB\t2\nC\t3\nD\t4\nE\t5\n"));
    auto table = newTable();
    loadRates(directory(), *table);
    ASSERT_EQ(5, table->count);
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Three\nX\t7\nY\t8\nZ\t9\n"));
    loadRates(directory(), *table);
    EXPECT_EQ(3, table->count);
    for (int i = 3; i < 5; ++i) {
        EXPECT_STREQ("", table->entries[i].name) << "entry " << i << " of the longer file";
        EXPECT_EQ(0.0, table->entries[i].rate) << "entry " << i;
    }
    saveRates(directory(), *table);
    EXPECT_EQ("Three\nX\t7.0000\nY\t8.0000\nZ\t9.0000\n\0"s, readFileBytes(ratesPath()));
}

TEST_F(CurrencyFilesTest, FullTableOfLongestNamesIsSavedAndLoadedWhole) {
    auto table = newTable();
    std::memset(table->headerLine, 'h', kHeaderLineSize - 1);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::string name(kCurrencyNameSize - 1, static_cast<char>('A' + i % 26));
        name[0] = static_cast<char>('0' + i % 10);
        setEntry(*table, i, name, 123456.5 + i);
    }
    table->count = kCurrencyCapacity;
    saveRates(directory(), *table);
    std::string bytes = readFileBytes(ratesPath());
    EXPECT_GT(bytes.size(), 4096u) << "the full table is larger than the handheld's 4096-byte buffer";
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ('\0', bytes.back());

    auto reread = newTable();
    loadRates(directory(), *reread);
    EXPECT_TRUE(sameTable(*table, *reread)) << "expected 100 entries back, got " << reread->count;
}

// A save that fails at any step leaves the previous file byte for byte, and
// no temporary file behind; the same save succeeds once nothing fails.
TEST_F(CurrencyFilesTest, FailedSaveKeepsThePreviousFile) {
    const std::string oldRates = "Old\nA\t1.0000\n\0"s;
    const std::string oldSelections = std::string("7\0\0" "3\0\0", 6) + std::string(94, '\0');
    auto table = newTable();
    std::strcpy(table->headerLine, "New");
    setEntry(*table, 0, "B", 2.0);
    table->count = 1;
    SelectionState state = {};
    state.currencyRow[0] = 5;

    struct Step {
        const char* name;
        SaveStep step;
    } steps[] = {
        {"creating the temporary file", SaveStep::createTemporary},
        {"writing, half written", SaveStep::write},
        {"flushing", SaveStep::flush},
        {"closing", SaveStep::close},
        {"replacing", SaveStep::replace},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(writeFileBytes(ratesPath(), oldRates));
        ASSERT_TRUE(writeFileBytes(selectionPath(), oldSelections));
        failSavesAt(s.step);
        saveRates(directory(), *table);
        saveSelections(directory(), state, SelectionForm::program, kAllSlots);
        saveSelections(directory(), state, SelectionForm::plugin, kPluginSlots);
        failSavesAt(SaveStep::none);
        EXPECT_EQ(printableBytes(oldRates), printableBytes(readFileBytes(ratesPath()))) << "rates.txt";
        EXPECT_EQ(printableBytes(oldSelections), printableBytes(readFileBytes(selectionPath()))) << "quantrel.dat";
        EXPECT_EQ(2u, filesIn(place.directory()).size()) << "only rates.txt and quantrel.dat remain";
    }
    saveRates(directory(), *table);
    EXPECT_EQ("New\nB\t2.0000\n\0"s, readFileBytes(ratesPath())) << "the save itself works";
}

TEST_F(CurrencyFilesTest, FileHeldOpenOrReadOnlyIsNotReplaced) {
    const std::string oldRates = "Old\nA\t1.0000\n\0"s;
    auto table = newTable();
    std::strcpy(table->headerLine, "New");
    table->count = 0;
    struct Case {
        const char* name;
        bool held;
        bool readOnly;
    } cases[] = {
        {"held open unshared by another opener", true, false},
        {"read-only file", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFileAttributesW(ratesPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(writeFileBytes(ratesPath(), oldRates));
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesW(ratesPath().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        {
            std::unique_ptr<HeldOpen> holder(c.held ? new HeldOpen(ratesPath()) : nullptr);
            if (holder) {
                ASSERT_TRUE(holder->isOpen());
            }
            saveRates(directory(), *table);
        }
        EXPECT_EQ(printableBytes(oldRates), printableBytes(readFileBytes(ratesPath())));
        EXPECT_EQ(1u, filesIn(place.directory()).size()) << "no temporary file left behind";
    }
    SetFileAttributesW(ratesPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The other deliverable holds a file only for its own read or write: a load
// that meets it waits for it and then reads the file. The holder lets go a
// moment after the load has begun.
TEST_F(CurrencyFilesTest, FileHeldForAMomentIsWaitedFor) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Held\nA\t1.5000\n\0"s));
    auto holder = std::make_unique<HeldOpen>(ratesPath());
    ASSERT_TRUE(holder->isOpen());
    std::thread letGo([&holder] {
        Sleep(150);  // how long the other deliverable holds the file
        holder.reset();
    });
    auto table = newTable();
    EXPECT_EQ(ReadResult::ok, loadRates(directory(), *table));
    letGo.join();
    EXPECT_STREQ("Held", table->headerLine);
    EXPECT_EQ(1, table->count);
}

// ---- quantrel.dat --------------------------------------------------------------

TEST_F(CurrencyFilesTest, ShortAndLongSelectionFiles) {
    struct Case {
        const char* name;
        std::string file;
        int32_t row0, row3, autoUpdate, todayItem;  // after the load, flags 1 before it
    } cases[] = {
        // A flag slot past the end reads as 0 and turns that flag off.
        {"ten bytes", std::string("1\0\0" "4\0\0" "9\0\0" "8", 10), 4, 0, 0, 0},
        {"first 100 of 150 bytes", std::string("0\0\0" "6\0\0" "0\0\0" "0\0\0" "2\0\0", 15) +
                                       std::string(15, '\0') + std::string("7\0\0" "1\0\0", 6) +
                                       std::string(64, '\0') + std::string("12345678901234567890", 20) +
                                       std::string(30, '9'),
         6, 2, 1, 1},
        {"flag slots holding 7 keep the flags", std::string(30, '\0') + std::string("7\0\0" "7\0\0", 6), 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileBytes(selectionPath(), c.file));
        SelectionState state = {};
        state.autoUpdate = 1;
        state.todayItem = 1;
        loadSelections(directory(), state, SelectionForm::program);
        EXPECT_EQ(c.row0, state.currencyRow[0]);
        EXPECT_EQ(c.row3, state.currencyRow[3]);
        EXPECT_EQ(c.autoUpdate, state.autoUpdate);
        EXPECT_EQ(c.todayItem, state.todayItem);
        saveSelections(directory(), state, SelectionForm::program, kAllSlots);
        EXPECT_EQ(kSelectionRecordSize, readFileBytes(selectionPath()).size()) << "the program writes 100 bytes";
    }
}

TEST_F(CurrencyFilesTest, PluginFormKeepsSlotsFiveToElevenAndThePadding) {
    // The program's slots and a padding that is not zero, as another writer
    // may have left it: all of it must survive byte for byte.
    std::string before = std::string("0\0\0" "1\0\0" "2\0\0" "3\0\0" "4\0\0", 15);
    for (int i = 15; i < 100; ++i) before += static_cast<char>(i * 7 + 1);
    ASSERT_TRUE(writeFileBytes(selectionPath(), before));
    SelectionState state = {};
    state.reserved = 9;
    state.currencyRow[0] = -1;
    state.currencyRow[1] = 42;
    state.currencyRow[2] = 0;
    state.currencyRow[3] = 99;
    state.autoUpdate = 1;  // not the plug-in's to write
    saveSelections(directory(), state, SelectionForm::plugin, kPluginSlots);
    std::string after = readFileBytes(selectionPath());
    ASSERT_EQ(100u, after.size());
    EXPECT_EQ(printableBytes(std::string("9\0\0" "-1\0" "42\0" "0\0\0" "99\0", 15)), printableBytes(after.substr(0, 15)));
    EXPECT_EQ(printableBytes(before.substr(15)), printableBytes(after.substr(15)));

    SelectionState reread = {};
    reread.metricCategory = 33;
    loadSelections(directory(), reread, SelectionForm::plugin);
    EXPECT_EQ(-1, reread.currencyRow[0]) << "no selection round-trips";
    EXPECT_EQ(99, reread.currencyRow[3]);
    EXPECT_EQ(33, reread.metricCategory) << "the plug-in reads slots 0 to 4 only";
}

TEST_F(CurrencyFilesTest, PluginFormOnMissingFileAndOnHeldFile) {
    SelectionState state = {};
    state.currencyRow[1] = 3;
    saveSelections(directory(), state, SelectionForm::plugin, kPluginSlots);
    EXPECT_EQ(printableBytes(std::string("0\0\0" "0\0\0" "3\0\0" "0\0\0" "0\0\0", 15) + std::string(85, '\0')),
              printableBytes(readFileBytes(selectionPath())))
        << "a missing file counts as zeros";

    const std::string held = std::string(100, '5');
    ASSERT_TRUE(writeFileBytes(selectionPath(), held));
    {
        HeldOpen holder(selectionPath());
        ASSERT_TRUE(holder.isOpen());
        saveSelections(directory(), state, SelectionForm::plugin, kPluginSlots);
        SelectionState loaded = {};
        loaded.currencyRow[2] = 8;
        loadSelections(directory(), loaded, SelectionForm::program);
        EXPECT_EQ(8, loaded.currencyRow[2]) << "a held file leaves the state as it was";
    }
    EXPECT_EQ(held, readFileBytes(selectionPath())) << "a file that cannot be read is not rewritten";
}

// ---- registry ------------------------------------------------------------------

TEST_F(CurrencyFilesTest, UpdatedIsSetToOneAndConsumedOnce) {
    EXPECT_FALSE(consumeUpdatedFlag()) << "no value yet";
    setUpdatedFlag();
    setUpdatedFlag();
    RegistryValue updated = queryValue(kQuelvindorKey, kUpdatedValue);
    ASSERT_TRUE(updated.present);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), updated.type);
    EXPECT_EQ(1u, updated.number()) << "setting it twice leaves 1";
    EXPECT_TRUE(consumeUpdatedFlag());
    EXPECT_EQ(0u, queryValue(kQuelvindorKey, kUpdatedValue).number()) << "consumed";
    EXPECT_FALSE(consumeUpdatedFlag()) << "a second look finds nothing";

    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    } others[] = {
        {"REG_DWORD 2", REG_DWORD, {2, 0, 0, 0}},
        {"REG_SZ \"1\"", REG_SZ, {'1', 0, 0, 0}},
        {"REG_BINARY 1", REG_BINARY, {1}},
    };
    for (const Case& c : others) {
        SCOPED_TRACE(c.name);
        setValue(kQuelvindorKey, kUpdatedValue, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        EXPECT_FALSE(consumeUpdatedFlag());
        RegistryValue left = queryValue(kQuelvindorKey, kUpdatedValue);
        EXPECT_EQ(c.type, left.type) << "left as it stands";
        EXPECT_EQ(c.data, left.data) << "left as it stands";
    }
}

TEST_F(CurrencyFilesTest, TodayItemValuesForBothStates) {
    setMachineNumber(kTodayItemKey, L"Flags", 77);  // a value of the host's own
    for (bool enabled : {true, false, false, true}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        registerTodayItem(enabled);
        RegistryValue dll = queryValue(kTodayItemKey, L"DLL");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), dll.type);
        const wchar_t expectedName[] = L"Zentavo.dll";
        std::vector<BYTE> expected(reinterpret_cast<const BYTE*>(expectedName),
                                   reinterpret_cast<const BYTE*>(expectedName) + sizeof expectedName);
        EXPECT_EQ(24u, dll.data.size()) << "(characters + 1) x 2 bytes";
        EXPECT_EQ(expected, dll.data);
        struct Number {
            const wchar_t* name;
            DWORD value;
        } numbers[] = {{L"Enabled", enabled ? 1u : 0u}, {L"Options", 0}, {L"Type", 4}, {L"Flags", 77}};
        for (const Number& n : numbers) {
            RegistryValue value = queryValue(kTodayItemKey, n.name);
            EXPECT_TRUE(value.present) << n.name;
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type) << n.name;
            EXPECT_EQ(n.value, value.number()) << n.name;
        }
    }
}

}  // namespace
