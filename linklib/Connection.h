// SPDX-License-Identifier: MIT
//
// The link's one connection per process and the thirteen operations on it.
// The exported C functions are thin calls into one instance of this class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "linklib/LinkPlatform.h"

namespace corvane::link {

class Connection {
  public:
    explicit Connection(LinkPlatform& platform);
    ~Connection();  // closes the connection (library unload)
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::int32_t fsworking();
    std::int32_t startit();
    std::int32_t stopit();
    std::int32_t readDWORD(std::int32_t offset, void* destination);
    std::int32_t writeDWORD(std::int32_t offset, const void* source);
    std::int32_t readxbytes(std::int32_t size, std::int32_t offset, void* destination);
    std::int32_t writexbytes(std::int32_t size, std::int32_t offset, const void* source);
    std::int32_t startmessage();
    std::int32_t sendmessage();
    std::int32_t rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination);
    std::int32_t rawwritexbytes(std::int32_t size, std::int32_t offset, const void* source);
    std::int32_t rawreadDWORD(std::int32_t offset, void* destination);
    std::int32_t rawwriteDWORD(std::int32_t offset, const void* source);

    // State, for tests and diagnostics.
    bool IsOpen() const { return view_ != nullptr; }
    std::uint32_t InstanceId() const { return instanceid_; }
    std::uint32_t InstanceCounter() const { return instancecounter_; }
    std::uint32_t TimeoutMs() const { return timeoutms_; }
    WindowRef LastWindow() const { return lastwindow_; }
    const std::uint8_t* View() const { return view_; }
    std::size_t CursorOffset() const { return cursor_ ? std::size_t(cursor_ - view_) : 0; }
    const std::string& AreaName() const { return areaName_; }

    // The shared area's name for a process id and instance: "FsasmLib:IPC:1A4:0".
    static std::string MakeAreaName(std::uint32_t processId, std::uint32_t instanceId);

  private:
    void Close();
    bool Fits(std::size_t recordLength) const;
    std::uint32_t DestinationWord(void* destination);

    LinkPlatform& platform_;
    std::uint32_t instanceid_ = 0;
    WindowRef targetwindow_ = 0;
    std::uint32_t timeoutms_ = 2000;
    std::uint32_t messageid_ = 0;
    std::uint16_t atom_ = 0;
    MappingRef mapping_ = 0;
    std::uint8_t* view_ = nullptr;
    std::uint8_t* cursor_ = nullptr;
    std::uint32_t instancecounter_ = 0;
    WindowRef lastwindow_ = 0;
    std::string areaName_;
    // The read records of the batch as the link laid them. The answer is
    // copied out by this table, never by the sizes or destination words in the
    // area, which the simulator may have overwritten. In a 64-bit process the
    // destination word of a read record holds the record's index here.
    struct LaidRead {
        std::size_t at;  // where the record starts in the area
        std::size_t size;
        void* destination;
    };
    std::vector<LaidRead> reads_;
};

}  // namespace corvane::link
