#include "port_access.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qtx {

namespace {

std::string groupOf(const std::string& device)
{
    struct stat st;
    if (::stat(device.c_str(), &st) != 0)
        return {};
    if (const group* g = ::getgrgid(st.st_gid))
        return g->gr_name;
    return std::to_string(st.st_gid);
}

std::string processName(const std::string& pid)
{
    std::string name;
    std::ifstream(("/proc/" + pid + "/comm").c_str()) >> name;
    return (name.empty() ? std::string("a program") : name) + " (process " + pid + ")";
}

// The holder named in a lock file "LCK..<device under /dev, '/' as '_'>":
// process id on the first line.
std::string lockHolder(const std::string& device)
{
    char real[4096];
    if (!::realpath(device.c_str(), real))
        return {};
    std::string name = real;
    if (name.rfind("/dev/", 0) == 0)
        name.erase(0, 5);
    for (char& c : name)
        if (c == '/')
            c = '_';
    for (const char* dir : {"/var/lock", "/run/lock", "/tmp"}) {
        std::ifstream lock(std::string(dir) + "/LCK.." + name);
        std::string pid;
        if (lock >> pid && !pid.empty() && pid.find_first_not_of("0123456789") == std::string::npos &&
            ::access(("/proc/" + pid).c_str(), F_OK) == 0)
            return processName(pid);
    }
    return {};
}

// A process with the device open, found through its lock file or /proc;
// only processes the user may look into are seen.
std::string holderOf(const std::string& device)
{
    if (std::string locked = lockHolder(device); !locked.empty())
        return locked;
    struct stat target;
    if (::stat(device.c_str(), &target) != 0)
        return {};
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return {};
    std::string found;
    const std::string self = std::to_string(::getpid());
    while (dirent* e = ::readdir(proc)) {
        const std::string pid = e->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == self)
            continue;
        const std::string fdDir = "/proc/" + pid + "/fd";
        DIR* fds = ::opendir(fdDir.c_str());
        if (!fds)
            continue;
        while (dirent* f = ::readdir(fds)) {
            struct stat st;
            if (f->d_name[0] == '.' || ::stat((fdDir + "/" + f->d_name).c_str(), &st) != 0)
                continue;
            if (st.st_rdev == target.st_rdev && S_ISCHR(st.st_mode) && S_ISCHR(target.st_mode)) {
                found = processName(pid);
                break;
            }
        }
        ::closedir(fds);
        if (!found.empty())
            break;
    }
    ::closedir(proc);
    return found;
}

} // namespace

PortAccess ClassifyPortError(const std::string& device, int error)
{
    PortAccess a;
    a.device = device;
    switch (error) {
    case 0: break;
    case ENOENT:
    case ENODEV:
    case ENXIO: a.problem = PortProblem::Missing; break;
    case EACCES:
    case EPERM:
        a.problem = PortProblem::Permission;
        a.group = groupOf(device);
        break;
    case EBUSY:
        a.problem = PortProblem::Busy;
        a.holder = holderOf(device);
        break;
    default:
        a.problem = PortProblem::Other;
        a.words = std::strerror(error);
        break;
    }
    return a;
}

PortAccess CheckPortAccess(const std::string& device)
{
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return ClassifyPortError(device, errno);
    ::close(fd);
    return ClassifyPortError(device, 0);
}

std::string PortAccessWords(const PortAccess& a)
{
    switch (a.problem) {
    case PortProblem::None: return {};
    case PortProblem::Missing: return "there is no device " + a.device + " (is the cable plugged in?)";
    case PortProblem::Permission: {
        const std::string group = a.group.empty() ? std::string("dialout") : a.group;
        return "no permission to use " + a.device + ": it belongs to the group \"" + group +
               "\"; add your user to that group (sudo usermod -aG " + group +
               " $USER), then log out and in again";
    }
    case PortProblem::Busy:
        return a.device + " is in use by " + (a.holder.empty() ? std::string("another program") : a.holder) +
               "; close it (or end its transfer) and try again";
    case PortProblem::Other: return "cannot open " + a.device + ": " + a.words;
    }
    return {};
}

} // namespace qtx
