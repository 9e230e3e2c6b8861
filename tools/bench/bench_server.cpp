// Serves one file at /file over plain HTTP on 127.0.0.1 for the download benchmark, from memory
// (the file is mapped), so that the server costs the same for every client compared.
// Usage: qv-bench-server FILE PORT_FILE. Writes the chosen port into PORT_FILE, serves until
// SIGTERM or SIGINT.
#include <fcntl.h>
#include <httplib.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

constexpr size_t kPieceSize = 1024 * 1024;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FILE PORT_FILE\n", argv[0]);
    return 64;
  }
  const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  const size_t size = static_cast<size_t>(status.st_size);
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) {
    std::perror("mmap");
    return 1;
  }
  const char* bytes = static_cast<const char*>(mapped);

  httplib::Server server;
  server.Get("/file", [bytes, size](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(size, "application/octet-stream",
                                  [bytes, size](size_t offset, size_t length, httplib::DataSink& sink) {
                                    const size_t piece = std::min({length, kPieceSize, size - offset});
                                    return sink.write(bytes + offset, piece);
                                  });
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  if (port <= 0) return 1;
  {
    // Written beside and renamed, so that a reader sees the whole number or no file.
    const std::string partial = std::string(argv[2]) + ".partial";
    std::ofstream port_file(partial);
    port_file << port << "\n";
    port_file.close();
    if (!port_file || std::rename(partial.c_str(), argv[2]) != 0) return 1;
  }
  // The stop signals are taken synchronously here, never in a handler, and every thread the
  // server starts inherits the blocked mask.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::thread listener([&server] { server.listen_after_bind(); });
  int received = 0;
  sigwait(&stop_signals, &received);
  server.stop();
  listener.join();
  ::munmap(mapped, size);
  return 0;
}
