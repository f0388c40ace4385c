#include "support/pg_temp_cluster.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/child_process.h"

namespace quorvant::testing {
namespace {

namespace fs = std::filesystem;

std::string FindBinDir() {
  if (const char* env = std::getenv("QUORVANT_PG_BINDIR"); env && *env) return env;
  std::string best;
  int best_version = -1;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ignored)) {
    const std::string name = entry.path().filename().string();
    const int version = std::atoi(name.c_str());
    if (version > best_version && fs::exists(entry.path() / "bin" / "initdb")) {
      best_version = version;
      best = (entry.path() / "bin").string();
    }
  }
  if (best.empty()) {
    throw std::runtime_error(
        "PostgreSQL server programs not found under /usr/lib/postgresql/*/bin (install the "
        "postgresql package: scripts/bootstrap.sh)");
  }
  return best;
}

// Root runs the server's programs as nobody; others as themselves.
std::vector<std::string> AsServerUser() {
  if (::geteuid() != 0) return {};
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) throw std::runtime_error("running as root, but there is no user nobody");
  return {"setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
          "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups", "--"};
}

std::string Tail(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

PgTempCluster::PgTempCluster() : bin_(FindBinDir()), port_(FreeLoopbackPort()) {
  std::string pattern = (fs::temp_directory_path() / "quorvant-pg-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temp folder");
  dir_ = pattern;
  if (::geteuid() == 0) {
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody || ::chown(dir_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
      fs::remove_all(dir_);
      throw std::runtime_error("cannot hand " + dir_ + " to the user nobody");
    }
  }
  // The watcher: waits for the pipe to close, then stops and removes.
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe");
  std::string as_user;
  for (const std::string& a : AsServerUser()) as_user += Quoted(a) + " ";
  const std::string script = "cat >/dev/null; " + as_user + Quoted(bin_ + "/pg_ctl") + " -D " +
                             Quoted(dir_ + "/data") +
                             " -m immediate stop >/dev/null 2>&1; rm -rf " + Quoted(dir_);
  guard_ = ::fork();
  if (guard_ == 0) {
    ::setsid();
    ::dup2(fds[0], 0);
    ::execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[0]);
  guard_pipe_ = fds[1];

  std::vector<std::string> initdb = AsServerUser();
  initdb.insert(initdb.end(), {bin_ + "/initdb", "-D", dir_ + "/data", "-U", "quorvant",
                               "--auth=trust", "-E", "UTF8", "--no-sync"});
  try {
    if (RunToEnd(initdb, dir_ + "/initdb.log") != 0) {
      throw std::runtime_error("initdb failed: " + Tail(dir_ + "/initdb.log"));
    }
    Start();
  } catch (...) {
    Remove();
    throw;
  }
}

PgTempCluster::~PgTempCluster() { Remove(); }

void PgTempCluster::Remove() {
  if (guard_pipe_ < 0) return;
  ::close(guard_pipe_);  // the watcher stops the server and removes the folder
  guard_pipe_ = -1;
  int status = 0;
  ::waitpid(guard_, &status, 0);
}

void PgTempCluster::PgCtl(const std::string& action) {
  std::vector<std::string> args = AsServerUser();
  args.push_back(bin_ + "/pg_ctl");
  for (const std::string& a :
       {std::string("-D"), dir_ + "/data", std::string("-l"), dir_ + "/server.log",
        std::string("-w"), std::string("-t"), std::string("60")}) {
    args.push_back(a);
  }
  if (action == "start") {
    args.push_back("-o");
    args.push_back("-k " + dir_ + " -p " + std::to_string(port_) +
                   " -c listen_addresses=127.0.0.1 -c max_connections=200");
  } else {
    args.push_back("-m");
    args.push_back("fast");
  }
  args.push_back(action);
  if (RunToEnd(args, dir_ + "/pg_ctl.log") != 0) {
    throw std::runtime_error("pg_ctl " + action + " failed: " + Tail(dir_ + "/pg_ctl.log") +
                             Tail(dir_ + "/server.log"));
  }
}

void PgTempCluster::Start() { PgCtl("start"); }
void PgTempCluster::Stop() { PgCtl("stop"); }

std::string PgTempCluster::ConnectionString(const std::string& name) const {
  return "host=127.0.0.1 port=" + std::to_string(port_) + " user=quorvant dbname=" + name;
}

void PgTempCluster::CreateDatabase(const std::string& name) {
  if (databases_.count(name)) return;
  PGconn* conn = PQconnectdb(ConnectionString("postgres").c_str());
  PGresult* result = nullptr;
  if (PQstatus(conn) == CONNECTION_OK) {
    result = PQexec(conn, ("CREATE DATABASE \"" + name + "\"").c_str());
  }
  const bool ok = result && PQresultStatus(result) == PGRES_COMMAND_OK;
  const std::string why = PQerrorMessage(conn);
  PQclear(result);
  PQfinish(conn);
  if (!ok) throw std::runtime_error("cannot create database " + name + ": " + why);
  databases_.insert(name);
}

int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    ::close(fd);
    throw std::runtime_error("no free loopback port");
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

PgTempCluster& SharedPgTempCluster() {
  static PgTempCluster cluster;
  return cluster;
}

}  // namespace quorvant::testing
