// The call trace file of the Jet stand-in.
#include "Trace.h"

#include <sql.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace jetstandin {
namespace {

int TraceDescriptor()
{
    static const int descriptor = [] {
        const char* path = std::getenv("KIBIC_JET_TRACE");
        if (path == nullptr || *path == '\0')
            return -1;
        return ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    }();
    return descriptor;
}

} // namespace

void TraceLine(std::initializer_list<std::string> fields)
{
    const int descriptor = TraceDescriptor();
    if (descriptor < 0)
        return;
    std::string line;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            line.push_back('\t');
        line += field;
        first = false;
    }
    line.push_back('\n');
    [[maybe_unused]] const ssize_t written = ::write(descriptor, line.data(), line.size());
}

std::string TraceLength(long length)
{
    return length == SQL_NTS ? std::string("nts") : std::to_string(length);
}

} // namespace jetstandin
