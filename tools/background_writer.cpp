// Writes on a second thread what the scan lists on the first. Files go over
// in batches: the scan fills one while the writer thread works through
// another, and a third waits between them. The batches go round and keep
// their strings, so that after the first rounds nothing more is allocated.

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
    std::string file, name, url, info, text;

    void assign(const ListedFile &listed)
    {
        number = listed.number;
        file.assign(listed.file);
        name.assign(listed.name);
        url.assign(listed.url);
        info.assign(listed.info);
        text.assign(listed.text);
    }
    ListedFile view() const { return {number, file, name, url, info, text}; }
};

struct Batch {
    std::vector<FileCopy> files;
    std::size_t count = 0;
};

class BackgroundWriter : public ScanWriter {
public:
    explicit BackgroundWriter(std::unique_ptr<ScanWriter> writer) : m_writer(std::move(writer))
    {
        m_filling.files.resize(kBatchSize);
        m_thread = std::thread([this] { work(); });
    }

    ~BackgroundWriter() override { stop(); }

    void file(const ListedFile &file) override
    {
        m_filling.files[m_filling.count++].assign(file);
        if (m_filling.count == kBatchSize)
            handOver();
    }

    // Even after the writer thread failed, the writer is ended (a JSON
    // document is closed) before that failure is thrown.
    void end(const listing::ResultTable &table, const listing::ViewState &view) override
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
            m_writer->end(table, view);
        } catch (...) {
            if (!failure)
                throw;
        }
        if (failure)
            std::rethrow_exception(failure);
    }

private:
    static constexpr std::size_t kBatchSize = 256;

    // Passes the filled batch to the writer thread once the one before has
    // been taken, and goes on with an emptied one. Once the writer thread
    // has failed, files go nowhere: the failure is thrown, once.
    void handOver()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting.count == 0 || m_workerFailed; });
        if (m_workerFailed) {
            m_filling.count = 0;
            if (m_failure)
                std::rethrow_exception(std::exchange(m_failure, nullptr));
            return;
        }
        std::swap(m_filling, m_waiting);
        m_filling.count = 0;
        if (m_filling.files.size() < kBatchSize)
            m_filling.files.resize(kBatchSize);
        m_changed.notify_all();
    }

    void work()
    {
        Batch working;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_waiting.count > 0 || m_stopping; });
                if (m_waiting.count == 0)
                    return;
                std::swap(working, m_waiting);
                m_waiting.count = 0;
                m_changed.notify_all();
            }
            try {
                for (std::size_t i = 0; i < working.count; ++i)
                    m_writer->file(working.files[i].view());
            } catch (...) {
                const std::lock_guard lock(m_mutex);
                m_failure = std::current_exception();
                m_workerFailed = true;
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
    Batch m_filling; // the scan's thread only
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Batch m_waiting;              // under m_mutex
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
