#pragma once
// Helpers for the fuzz targets whose readers take a path: the input is
// written to a file in a scratch folder of this process.

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace pictavo::fuzz {

// A folder of this process, removed with what was written into it at exit.
inline const std::string& ScratchFolder() {
  struct Scratch {
    std::string path;
    Scratch() {
      char name[] = "/tmp/pictavo-fuzz-XXXXXX";
      const char* made = ::mkdtemp(name);
      if (!made) std::abort();
      path = made;
    }
    ~Scratch() {
      if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
          if (e->d_name[0] != '.') ::unlink((path + "/" + e->d_name).c_str());
        }
        ::closedir(dir);
      }
      ::rmdir(path.c_str());
    }
  };
  static const Scratch scratch;
  return scratch.path;
}

// Writes the bytes to ScratchFolder()/name and returns the path.
inline std::string WriteInput(const uint8_t* data, size_t size, const std::string& name) {
  const std::string path = ScratchFolder() + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) std::abort();
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  return path;
}

}  // namespace pictavo::fuzz
