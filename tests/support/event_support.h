// Shared helpers of the event window tests: event files as code page 932 bytes.
#pragma once

#include "platform/text_file.h"
#include "support/window_fixture.h"

#include <sys/resource.h>
#include <QFile>
#include <csignal>

namespace kalvo::test {

inline QByteArray cp932Lines(const std::vector<std::string>& lines) {
    QByteArray bytes;
    for (const auto& line : lines) {
        std::string encoded;
        EXPECT_TRUE(utf8ToCp932(line, encoded)) << line;
        bytes += QByteArray::fromStdString(encoded) + "\r\n";
    }
    return bytes;
}

inline std::vector<std::string> eventLines(const std::string& line3, const std::string& line4,
                                           const std::vector<std::string>& entries = {},
                                           const std::string& version = "Ver.2.16") {
    std::vector<std::string> lines = {"' 自分の設定", version, line3, line4, "TODAY", "0", "' コメント"};
    lines.insert(lines.end(), entries.begin(), entries.end());
    return lines;
}

class EventWindowTest : public WindowTest {
protected:
    void writeFile(const QByteArray& bytes) {
        QFile f(eventFilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes() const {
        QFile f(eventFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList items() const {
        QStringList list;
        for (int i = 0; i < form->cobEV->count(); ++i) list << form->cobEV->itemText(i);
        return list;
    }
    void unload() {
        int cancel = 0;
        form->Form_Unload(cancel);
    }
    // The unload step under a file size limit of `limit` bytes (which binds root too), with
    // SIGXFSZ set to `disposition` meanwhile; both are put back afterwards.
    void unloadUnderFileSizeLimit(rlim_t limit, void (*disposition)(int)) {
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = limit;
        const auto previous = std::signal(SIGXFSZ, disposition);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        unload();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
};

}  // namespace kalvo::test
