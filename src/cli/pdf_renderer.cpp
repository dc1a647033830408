#include "cli/pdf_renderer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace morvane::cli {

namespace {

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// Beside this program first (the build tree), then where an install puts it relative to the
// program's folder, so that a package installed under any prefix finds its own renderer.
QStringList rendererCandidates() {
    const QString own = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (own.isEmpty()) return {QStringLiteral("the folder of this program, which is unknown")};
    const QDir folder = QFileInfo(own).dir();
    return {folder.filePath(QLatin1String(kPdfRendererName)),
            QDir::cleanPath(folder.filePath(QStringLiteral(MORVANE_PDF_RENDERER_FROM_BIN "/") +
                                            QLatin1String(kPdfRendererName)))};
}

// A descriptor with no name in any folder: nothing to clean up, and no folder that must be
// writable. Closed on exec unless handed to the renderer as one of its standard streams, and
// never one of those itself (a program started with them closed would get them), so that
// making the renderer's streams cannot overwrite the other file.
class MemoryFile {
  public:
    MemoryFile() {
        const int fd = ::memfd_create("morvane-astro-cli", MFD_CLOEXEC);
        fd_ = fd < 0 ? fd : ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (fd >= 0) ::close(fd);
    }
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return fd_; }

    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += n;
        }
        return ::lseek(fd_, 0, SEEK_SET) == 0;
    }

    QByteArray readAll() const {
        QByteArray bytes;
        char buffer[4096];
        for (off_t offset = 0;;) {
            const ssize_t n = ::pread(fd_, buffer, sizeof buffer, offset);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            bytes.append(buffer, n);
            offset += n;
        }
        return bytes;
    }

  private:
    int fd_;
};

struct Run {
    std::optional<QString> failure;  // it never ran
    int status = 0;                  // as waitpid reports it
};

// Started directly, without a shell: the paths in the request may hold any character.
Run runRenderer(const QString& program, const MemoryFile& request, const MemoryFile& report) {
    const QByteArray path = QFile::encodeName(program);
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, request.fd(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, report.fd(), STDOUT_FILENO);
    pid_t pid = 0;
    const int started = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return {QStringLiteral("cannot start ") + program + ": " + systemError(started)};
    }
    Run run;
    while (::waitpid(pid, &run.status, 0) < 0) {
        if (errno != EINTR) return {QStringLiteral("lost the PDF renderer: ") + systemError(errno)};
    }
    return run;
}

}  // namespace

PdfReport renderPdfPages(const QList<PdfPage>& pages) {
    QString program = qEnvironmentVariable(kPdfRendererVariable);
    QStringList tried{program};
    if (program.isEmpty()) {
        tried = rendererCandidates();
        for (const QString& candidate : tried) {
            if (QFileInfo(candidate).isFile()) {
                program = candidate;
                break;
            }
        }
    }
    if (program.isEmpty() || !QFileInfo(program).isFile()) {
        return {0, QStringLiteral("the PDF renderer %1 is missing (looked for %2)")
                       .arg(QLatin1String(kPdfRendererName), tried.join(QStringLiteral(", ")))};
    }
    // Checked here as well: where the start fails only in the child, it shows as status 127.
    if (!QFileInfo(program).isExecutable()) {
        return {0, QStringLiteral("cannot start %1: it is not executable").arg(program)};
    }

    MemoryFile request;
    MemoryFile report;
    if (request.fd() < 0 || report.fd() < 0 || !request.write(encodePdfJob(pages))) {
        return {0,
                QStringLiteral("cannot hand the pages to the PDF renderer: ") + systemError(errno)};
    }
    const Run run = runRenderer(program, request, report);
    if (run.failure) return {0, run.failure};

    // The report decides, not the exit status: a renderer that wrote every file and then failed
    // on its way out has still done what was asked.
    PdfReport result = readPdfReport(report.readAll());
    if (result.written < pages.size() && !result.error) {
        if (WIFSIGNALED(run.status)) {
            result.error = QStringLiteral("the PDF renderer %1 was stopped by signal %2")
                               .arg(program)
                               .arg(WTERMSIG(run.status));
        } else {
            result.error = QStringLiteral("the PDF renderer %1 stopped with status %2")
                               .arg(program)
                               .arg(WEXITSTATUS(run.status));
        }
    }
    return result;
}

}  // namespace morvane::cli
