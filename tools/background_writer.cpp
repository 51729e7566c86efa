// Writes on a second thread what the scan lists on the first. Files go over
// in batches: the scan fills one while the writer thread works through
// another, and a third waits between them. The batches go round and keep
// their room, so that after the first rounds nothing more is allocated.
//
// What a batch holds is bounded by bytes as well as by files: texts are
// copied only when the writer reads them, into one run per batch of at most
// kBatchTextBytes, and a text too large for that is not copied at all but
// written on the scan's thread, so that however large the files of a folder
// are, no more than one of them is ever held, and that once, by the scan.

#include "scan_writer.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace scan {
namespace {

struct FileCopy {
    int number = 0;
    std::string file, name, url, info, profile, folder;
    std::uint64_t size = 0;
    platform::FileTimes times;
    std::size_t textStart = 0, textLength = 0; // in the batch's texts

    void assign(const ListedFile &listed)
    {
        number = listed.number;
        file.assign(listed.file);
        name.assign(listed.name);
        url.assign(listed.url);
        info.assign(listed.info);
        size = listed.size;
        times = listed.times;
        profile.assign(listed.profile);
        folder.assign(listed.folder);
    }
};

struct Batch {
    std::vector<FileCopy> files;
    std::size_t count = 0;
    std::string texts; // the texts of its files, one after another

    ListedFile view(std::size_t i) const
    {
        const FileCopy &copy = files[i];
        return {copy.number,
                copy.file,
                copy.name,
                copy.url,
                copy.info,
                copy.size,
                std::string_view(texts).substr(copy.textStart, copy.textLength),
                copy.times,
                copy.profile,
                copy.folder};
    }
};

class BackgroundWriter : public ScanWriter {
public:
    explicit BackgroundWriter(std::unique_ptr<ScanWriter> writer)
        : m_writer(std::move(writer)), m_needsText(m_writer->needsText())
    {
        m_filling.files.resize(kBatchSize);
        m_thread = std::thread([this] { work(); });
    }

    ~BackgroundWriter() override { stop(); }

    bool needsText() const override { return m_needsText; }

    void file(const ListedFile &file) override
    {
        const std::string_view text = m_needsText ? file.text : std::string_view();
        if (text.size() > kLargestCopiedText) {
            writeHere(file);
            return;
        }
        if (m_filling.count > 0 && m_filling.texts.size() + text.size() > kBatchTextBytes)
            handOver();
        FileCopy &copy = m_filling.files[m_filling.count++];
        copy.assign(file);
        copy.textStart = m_filling.texts.size();
        copy.textLength = text.size();
        m_filling.texts.append(text);
        if (m_filling.count == kBatchSize)
            handOver();
    }

    // After every file before it is written, on this thread, as a large
    // file is.
    void folderEnd(const ScanEnd &scanEnd) override
    {
        if (m_filling.count > 0)
            handOver();
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return (m_waiting.count == 0 && !m_working) || m_workerFailed; });
            if (m_workerFailed) {
                dropFilling();
                return;
            }
        }
        m_writer->folderEnd(scanEnd);
    }

    // Even after the writer thread failed, the writer is ended (a JSON
    // document is closed) before that failure is thrown.
    void end(const ScanEnd &scanEnd) override
    {
        std::exception_ptr failure;
        try {
            if (m_filling.count > 0)
                handOver();
        } catch (...) {
            failure = std::current_exception();
        }
        stop();
        if (!failure)
            failure = std::exchange(m_failure, nullptr);
        try {
            m_writer->end(scanEnd);
        } catch (...) {
            if (!failure)
                throw;
        }
        if (failure)
            std::rethrow_exception(failure);
    }

private:
    static constexpr std::size_t kBatchSize = 256;
    static constexpr std::size_t kBatchTextBytes = std::size_t(1) << 20;
    static constexpr std::size_t kLargestCopiedText = kBatchTextBytes / 4;

    // Passes the filled batch to the writer thread once the one before has
    // been taken, and goes on with an emptied one. Once the writer thread
    // has failed, files go nowhere: the failure is thrown, once.
    void handOver()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting.count == 0 || m_workerFailed; });
        if (m_workerFailed) {
            dropFilling();
            return;
        }
        std::swap(m_filling, m_waiting);
        m_filling.count = 0;
        m_filling.texts.clear();
        if (m_filling.files.size() < kBatchSize)
            m_filling.files.resize(kBatchSize);
        m_changed.notify_all();
    }

    // Under m_mutex, once the writer thread has failed.
    void dropFilling()
    {
        m_filling.count = 0;
        m_filling.texts.clear();
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

    // Writes `file` on this thread, with the text the scan holds, once the
    // writer thread has written every file before it and waits: the writer
    // is never used by two threads at once, and the order holds.
    void writeHere(const ListedFile &file)
    {
        if (m_filling.count > 0)
            handOver();
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return (m_waiting.count == 0 && !m_working) || m_workerFailed; });
            if (m_workerFailed) {
                dropFilling();
                return;
            }
        }
        try {
            m_writer->file(file);
        } catch (...) {
            // As a failure on the writer thread: later files go nowhere.
            const std::lock_guard lock(m_mutex);
            m_workerFailed = true;
            throw;
        }
    }

    void work()
    {
        Batch working;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_working = false;
                m_changed.notify_all();
                m_changed.wait(lock, [this] { return m_waiting.count > 0 || m_stopping; });
                if (m_waiting.count == 0)
                    return;
                std::swap(working, m_waiting);
                m_waiting.count = 0;
                m_waiting.texts.clear();
                m_working = true;
                m_changed.notify_all();
            }
            try {
                for (std::size_t i = 0; i < working.count; ++i)
                    m_writer->file(working.view(i));
            } catch (...) {
                const std::lock_guard lock(m_mutex);
                m_failure = std::current_exception();
                m_workerFailed = true;
                m_working = false;
                m_changed.notify_all();
                return;
            }
        }
    }

    // Lets the writer thread finish the batch it may be waiting for, then
    // waits for it.
    void stop()
    {
        if (!m_thread.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_changed.notify_all();
        }
        m_thread.join();
    }

    std::unique_ptr<ScanWriter> m_writer;
    const bool m_needsText;
    Batch m_filling; // the scan's thread only
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Batch m_waiting;              // under m_mutex
    bool m_working = false;       // under m_mutex: the writer thread is writing a batch
    bool m_stopping = false;      // under m_mutex
    bool m_workerFailed = false;  // under m_mutex
    std::exception_ptr m_failure; // under m_mutex while the thread runs; thrown once
    std::thread m_thread;
};

} // namespace

std::unique_ptr<ScanWriter> makeBackgroundWriter(std::unique_ptr<ScanWriter> writer)
{
    return std::make_unique<BackgroundWriter>(std::move(writer));
}

} // namespace scan
