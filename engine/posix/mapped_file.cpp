#include "mapped_file.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "sys_calls.h"

namespace korv {

namespace {

// The live mappings, read by the signal handler: lock-free atomics only.
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<char*> begin{nullptr};
    std::atomic<std::size_t> size{0};
    std::atomic<bool> cut{false};
};
constexpr int kSlots = 64;
Slot slots[kSlots];

std::once_flag handler_installed;
struct sigaction previous_action {};
std::size_t page_size = 4096;

void PassOn(int signal, siginfo_t* info, void* context) {
    if ((previous_action.sa_flags & SA_SIGINFO) != 0 && previous_action.sa_sigaction != nullptr) {
        previous_action.sa_sigaction(signal, info, context);
        return;
    }
    if (previous_action.sa_handler != SIG_DFL && previous_action.sa_handler != SIG_IGN) {
        previous_action.sa_handler(signal);
        return;
    }
    // Returning re-runs the faulting access, which now ends the process as
    // it would have without us.
    ::signal(signal, SIG_DFL);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    auto* at = static_cast<char*>(info->si_addr);
    for (Slot& slot : slots) {
        char* begin = slot.begin.load(std::memory_order_acquire);
        if (begin == nullptr || at < begin || at >= begin + slot.size.load()) {
            continue;
        }
        const auto offset = static_cast<std::uintptr_t>(at - begin) & ~(page_size - 1);
        void* page = ::mmap(begin + offset, page_size, PROT_READ,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (page != MAP_FAILED) {
            slot.cut.store(true);
            return;  // the access is made again and reads zeros
        }
    }
    PassOn(signal, info, context);
}

void InstallHandler() {
    page_size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO;
    ::sigaction(SIGBUS, &action, &previous_action);
}

}  // namespace

std::unique_ptr<MappedFile> MappedFile::Map(NativeFile file, std::size_t size) {
    const int fd = static_cast<int>(file);
    std::call_once(handler_installed, InstallHandler);
    int slot = 0;
    while (slot < kSlots && slots[slot].taken.exchange(true)) {
        ++slot;
    }
    if (slot == kSlots) {
        return nullptr;
    }
    void* data = sys::MapFile(fd, size);
    if (data == MAP_FAILED) {
        slots[slot].taken.store(false);
        return nullptr;
    }
    slots[slot].cut.store(false);
    slots[slot].size.store(size);
    slots[slot].begin.store(static_cast<char*>(data), std::memory_order_release);
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<char*>(data), size, slot));
}

MappedFile::~MappedFile() {
    slots[slot_].begin.store(nullptr, std::memory_order_release);
    ::munmap(data_, size_);
    slots[slot_].taken.store(false);
}

bool MappedFile::Intact() const {
    return !slots[slot_].cut.load();
}

}  // namespace korv
