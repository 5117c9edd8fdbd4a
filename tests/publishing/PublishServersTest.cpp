// scribvane-generate --publish against real servers on loopback, one table per protocol: each
// table runs in order against one server, as a user would publish, change and publish again.
#include "TestServers.h"
#include "publishing/PublishCommand.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace scribvane {
namespace {

using testing::ChildProcess;
using testing::DroppingProxy;
using testing::TempDir;

enum class Change { None, Title, Picture, GarbageManifest };

struct Step {
    const char* name;
    Change change = Change::None;
    bool trust = true;
    bool goodPassword = true;
    bool dropHalfWay = false;
    bool readOnly = false;
    int status = 0;
    const char* expected = ""; // the whole success line's start, or part of the error line
};

// One protocol's server, laid out in a folder of the test.
struct Server {
    std::string address; // of the publish folder, with %PORT% for the port to use
    std::string readOnlyAddress;
    std::filesystem::path published; // where the publish folder lies on the disk
    std::string suffix;              // that the server adds to the names of the files it keeps
    // The server writes an object in place as it arrives, so a cut upload leaves part of it
    // (the S3 test server does; S3 itself stores an object only once all of it arrived).
    bool keepsPartialUploads = false;
    std::map<std::string, std::string> goodSecrets, badSecrets;
    std::string fingerprint; // to trust; empty when nothing is verified
    int port = 0;
    std::size_t dropAfter = 0; // bytes from the client before the line goes dead
    std::unique_ptr<ChildProcess> process;
    std::unique_ptr<testing::WebDavServer> webDav;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string Field(const std::string& config, const std::string& tag, const std::string& value) {
    const std::string open = "<%%" + tag + "%%>";
    const auto start = config.find(open) + open.size();
    const auto end = config.find("<%%/" + tag + "%%>", start);
    return config.substr(0, start) + value + config.substr(end);
}

std::string Run(const std::filesystem::path& home, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& secrets, int& status) {
    std::ostringstream out;
    std::ostringstream err;
    const auto environment = [&](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return home.string();
        }
        const auto found = secrets.find(name);
        return found == secrets.end() ? std::nullopt : std::optional(found->second);
    };
    status = RunPublishCommand(arguments, home, out, err, environment);
    return out.str() + err.str();
}

std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            text += buffer;
        }
        ::pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

bool Installed(const char* program) {
    return ::access(program, X_OK) == 0;
}

// Runs a protocol's table against its server.
void RunTable(Server& server, const std::vector<Step>& steps, const TempDir& dir) {
    ASSERT_TRUE(testing::WaitForPort(server.port, 15)) << "the server did not start";
    const std::string sample =
        TempDir::Read(std::filesystem::path(SCRIBVANE_TEMPLATES_DIR) / "sample-config.dat");
    std::filesystem::create_directories(dir / "home");
    // A local picture whose name has a blank and a letter beyond ASCII (Windows-1252 in the
    // configuration, UTF-8 on the disk and on the server).
    const auto picture = dir.Write("logo pic \xc3\xbc.gif", std::string(30000, 'G'));
    const std::string pictureText = dir.path().string() + "/logo pic \xfc.gif";
    int title = 0;
    std::string previousPage;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.change == Change::Title) {
            ++title;
        } else if (step.change == Change::Picture) {
            TempDir::WriteFile(picture, std::string(30000, 'H'));
        } else if (step.change == Change::GarbageManifest) {
            TempDir::WriteFile(server.published / ".scribvane-publish",
                               "scribvane-publish 1\n../../etc/passwd\n\x01\x02garbage");
        }
        std::string config = Field(sample, "PageTitle", "Title " + std::to_string(title));
        config = Field(config, "HeaderPicture", pictureText);
        const auto configFile = dir.Write("config.dat", config);

        std::unique_ptr<DroppingProxy> proxy;
        int port = server.port;
        if (step.dropHalfWay) {
            proxy = std::make_unique<DroppingProxy>(server.port, server.dropAfter);
            port = proxy->port();
        }
        std::string address = step.readOnly ? server.readOnlyAddress : server.address;
        address = Replace(address, "%PORT%", std::to_string(port));
        std::vector<std::string> arguments{"--config",    configFile.string(),
                                           "--templates", SCRIBVANE_TEMPLATES_DIR,
                                           "--publish",   address};
        if (step.trust && !server.fingerprint.empty()) {
            arguments.insert(arguments.end(), {"--trust", server.fingerprint});
        }
        int status = -1;
        // A wrong password comes without the user's SSH keys too.
        std::filesystem::create_directories(dir / "nokeys");
        const std::string said =
            Run(step.goodPassword ? dir / "home" : dir / "nokeys", arguments,
                step.goodPassword ? server.goodSecrets : server.badSecrets, status);
        EXPECT_EQ(status, step.status) << said;
        EXPECT_NE(said.find(step.expected), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;

        const std::string page = TempDir::Read(server.published / ("index.html" + server.suffix));
        if (step.status == 0 && !step.readOnly) {
            EXPECT_NE(page.find("<title>Title " + std::to_string(title) + "</title>"),
                      std::string::npos);
            EXPECT_EQ(TempDir::Read(server.published / ("logo pic \xc3\xbc.gif" + server.suffix)),
                      TempDir::Read(picture));
            previousPage = page;
        } else if (!previousPage.empty() && !step.readOnly && !server.keepsPartialUploads) {
            EXPECT_TRUE(page == previousPage) << "the last published letter must stay whole";
        }
    }
}

// The steps every protocol goes through; the first one only where the server is verified.
std::vector<Step> Steps(bool verified, bool readOnlyFolder, bool manifestOnDisk = true) {
    std::vector<Step> steps;
    if (verified) {
        steps.push_back({"unknown server", Change::None, false, true, false, false, 1, "--trust"});
    }
    steps.insert(steps.end(), {
                                  {"wrong password", Change::None, true, false, false, false, 1,
                                   "refused the user name or password"},
                                  {"first publish, into missing folders", Change::None, true, true,
                                   false, false, 0, "Published 2 files (0 unchanged) to "},
                                  {"again with nothing changed", Change::None, true, true, false,
                                   false, 0, "Published 0 files (2 unchanged) to "},
                                  {"one changed field", Change::Title, true, true, false, false, 0,
                                   "Published 1 files (1 unchanged) to "},
                                  {"a changed picture", Change::Picture, true, true, false, false,
                                   0, "Published 1 files (1 unchanged) to "},
                                  {"the line dies half-way", Change::Title, true, true, true, false,
                                   1, "Publishing failed"},
                                  {"again after the failure", Change::None, true, true, false,
                                   false, 0, "Published 1 files (1 unchanged) to "},
                              });
    if (manifestOnDisk) {
        steps.push_back({"a manifest of garbage", Change::GarbageManifest, true, true, false, false,
                         0, "Published 2 files (0 unchanged) to "});
    }
    if (readOnlyFolder) {
        steps.push_back(
            {"a read-only folder", Change::None, true, true, false, true, 1, "does not let us"});
    }
    return steps;
}

TEST(PublishServers, SftpToOpenSshInternalSftp) {
    if (!testing::SftpServer::Installed()) {
        GTEST_SKIP() << "OpenSSH's sshd is not installed; scripts/setup.sh installs it";
    }
    ASSERT_EQ(::getuid(), 0u) << "sshd logs the test in as the user nobody, which needs root";
    TempDir dir;
    testing::SftpServer sftp(dir.path());
    Server server;
    server.port = sftp.port();
    const std::string root = sftp.root().string();
    server.address = "sftp://nobody@127.0.0.1:%PORT%" + root + "/new dir/site/";
    server.readOnlyAddress = "sftp://nobody@127.0.0.1:%PORT%" + root + "/readonly/";
    server.published = sftp.root() / "new dir/site";
    server.fingerprint = sftp.fingerprint();
    server.badSecrets = {{"SCRIBVANE_PUBLISH_PASSWORD", "wrong"}};
    server.dropAfter = 12000;
    RunTable(server, Steps(true, true), dir);
}

// vsftpd with an anonymous login that may write; with TLS (explicit, as ftps://) or without.
void RunVsftpd(bool tls) {
    if (!Installed("/usr/sbin/vsftpd") || !Installed("/usr/bin/openssl")) {
        GTEST_SKIP() << "vsftpd is not installed; scripts/setup.sh installs it";
    }
    ASSERT_EQ(::getuid(), 0u) << "vsftpd runs its sessions as the user ftp, which needs root";
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const auto root = dir / "root";
    std::filesystem::create_directories(root / "site");
    std::filesystem::create_directories(root / "readonly");
    std::filesystem::create_directories(dir / "empty");
    ASSERT_EQ(std::system(("chown ftp " + (root / "site").string()).c_str()), 0);
    ASSERT_EQ(std::system(("/usr/bin/openssl req -x509 -newkey rsa:2048 -nodes -keyout " +
                           (dir / "key.pem").string() + " -out " + (dir / "cert.pem").string() +
                           " -days 2 -subj /CN=127.0.0.1 2>/dev/null")
                              .c_str()),
              0);
    Server server;
    server.port = testing::FreePort();
    const std::string scheme = tls ? "ftps://" : "ftp://";
    server.address = scheme + "anonymous@127.0.0.1:%PORT%/site/new dir/";
    server.readOnlyAddress = scheme + "anonymous@127.0.0.1:%PORT%/readonly/";
    server.published = root / "site/new dir";
    server.fingerprint = !tls ? ""
                              : Output("/usr/bin/openssl x509 -noout -fingerprint -sha256 -in " +
                                       (dir / "cert.pem").string());
    // The anonymous login's password is checked against a list of refused ones.
    server.goodSecrets = {{"SCRIBVANE_PUBLISH_PASSWORD", "writer@example.com"}};
    server.badSecrets = {{"SCRIBVANE_PUBLISH_PASSWORD", "refused@example.com"}};
    // Only the control connection goes through the proxy: cut past the login, before a rename.
    server.dropAfter = tls ? 1000 : 150;
    dir.Write("refused", "refused@example.com\n");
    dir.Write(
        "vsftpd.conf",
        "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(server.port) +
            "\nbackground=NO\nanonymous_enable=YES\nlocal_enable=NO\nwrite_enable=YES\n"
            "anon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
            "anon_other_write_enable=YES\nanon_umask=022\nanon_root=" +
            root.string() + "\nno_anon_password=NO\ndeny_email_enable=YES\nbanned_email_file=" +
            (dir / "refused").string() + "\nsecure_chroot_dir=" + (dir / "empty").string() +
            "\nseccomp_sandbox=NO\nssl_enable=" + (tls ? "YES" : "NO") +
            "\nallow_anon_ssl=YES\n"
            "force_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\nrsa_cert_file=" +
            (dir / "cert.pem").string() + "\nrsa_private_key_file=" + (dir / "key.pem").string() +
            "\npasv_address=127.0.0.1\nxferlog_enable=NO\n");
    server.process = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/vsftpd", (dir / "vsftpd.conf").string()},
        dir / "vsftpd.log");
    RunTable(server, Steps(tls, true), dir);
}

TEST(PublishServers, FtpsToVsftpd) {
    RunVsftpd(true);
}

TEST(PublishServers, FtpToVsftpd) {
    RunVsftpd(false);
}

// lighttpd with mod_webdav and basic authentication; over https with a certificate made for
// the test, or over plain http.
void RunLighttpd(bool tls) {
    if (!testing::WebDavServer::Installed(tls)) {
        GTEST_SKIP() << "lighttpd with mod_webdav (and mod_openssl) is not installed; "
                        "scripts/setup.sh installs it";
    }
    TempDir dir;
    const auto root = dir / "root";
    std::filesystem::create_directories(root / "readonly");
    Server server;
    server.webDav = std::make_unique<testing::WebDavServer>(dir.path(), root, tls, "s3cret \"q\"");
    server.port = server.webDav->port();
    const std::string scheme = tls ? "webdav+https://" : "webdav+http://";
    server.address = scheme + "writer@127.0.0.1:%PORT%/new dir/site/";
    server.readOnlyAddress = scheme + "writer@127.0.0.1:%PORT%/readonly/";
    server.published = root / "new dir/site";
    server.fingerprint = server.webDav->fingerprint();
    ASSERT_EQ(server.fingerprint.empty(), !tls) << "the test certificate could not be made";
    server.goodSecrets = {{"SCRIBVANE_PUBLISH_PASSWORD", "s3cret \"q\""}};
    server.badSecrets = {{"SCRIBVANE_PUBLISH_PASSWORD", "wrong"}};
    server.dropAfter = 9000;
    RunTable(server, Steps(tls, true), dir);
}

TEST(PublishServers, WebDavToLighttpd) {
    RunLighttpd(false);
}

TEST(PublishServers, WebDavHttpsToLighttpd) {
    RunLighttpd(true);
}

// A server whose disk is full: the error says so in the user's words with the server's own
// answer beside it, and nothing is put in place of the published letter (only the temporary
// name was tried: no rename, no page, no manifest).
TEST(PublishServers, DiskFullOnTheServer) {
    testing::ScriptedHttpServer http(
        {{"MKCOL", "201 Created"}, {"PUT", "507 Insufficient Storage"}, {"MOVE", "201 Created"}});
    testing::ScriptedFtpServer ftp452("452 Insufficient storage space");
    testing::ScriptedFtpServer ftp552("552 Exceeded storage allocation");
    const struct {
        std::string address;
        const char* said;
        std::function<std::vector<std::string>()> received;
        std::vector<std::string> never; // starts of what must not have been asked
    } cases[] = {
        {"webdav+http://u@127.0.0.1:" + std::to_string(http.port()) + "/site/",
         "The disk is full on the server (HTTP 507: 507 Insufficient Storage)",
         [&] { return http.requests(); },
         {"MOVE", "PUT /site/index.html", "PUT /site/.scribvane-publish"}},
        {"ftp://u@127.0.0.1:" + std::to_string(ftp452.port()) + "/site/",
         "The disk is full on the server (",
         [&] { return ftp452.commands(); },
         {"RNFR", "RNTO", "STOR index.html", "STOR .scribvane-publish"}},
        {"ftp://u@127.0.0.1:" + std::to_string(ftp552.port()) + "/site/",
         "The disk is full on the server (",
         [&] { return ftp552.commands(); },
         {"RNFR", "RNTO", "STOR index.html", "STOR .scribvane-publish"}},
    };
    TempDir dir;
    const auto config =
        dir.Write("config.dat", TempDir::Read(std::filesystem::path(SCRIBVANE_TEMPLATES_DIR) /
                                              "sample-config.dat"));
    for (const auto& c : cases) {
        int status = -1;
        const std::string said = scribvane::Run(dir.path(),
                                                {"--config", config.string(), "--templates",
                                                 SCRIBVANE_TEMPLATES_DIR, "--publish", c.address},
                                                {{"SCRIBVANE_PUBLISH_PASSWORD", "p"}}, status);
        EXPECT_EQ(status, 1) << c.address;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        const auto received = c.received();
        EXPECT_TRUE(std::any_of(
            received.begin(), received.end(),
            [](const std::string& r) { return r.starts_with("PUT") || r.starts_with("STOR"); }))
            << c.address << ": the upload was never tried";
        for (const std::string& request : received) {
            for (const std::string& never : c.never) {
                EXPECT_FALSE(request.starts_with(never)) << c.address << ": " << request;
            }
        }
    }
}

// An S3 endpoint over https is checked against its own host name: a certificate that the
// system's authorities vouch for passes without a fingerprint, and the request reaches the
// server (which refuses it, being no S3 server).
TEST(PublishServers, S3OverHttpsChecksTheEndpointsOwnCertificate) {
    if (!testing::WebDavServer::Installed(true)) {
        GTEST_SKIP() << "lighttpd with mod_openssl is not installed; scripts/setup.sh installs it";
    }
    TempDir dir;
    std::filesystem::create_directories(dir / "root");
    testing::WebDavServer server(dir.path(), dir / "root", true, "secret");
    ASSERT_TRUE(testing::WaitForPort(server.port(), 15));
    // The test's certificate as the one authority the system vouches with.
    ::setenv("SSL_CERT_FILE", (dir / "cert.pem").c_str(), 1);
    int status = -1;
    const std::string said = scribvane::Run(
        dir.path(),
        {"--config", std::string(SCRIBVANE_TEMPLATES_DIR) + "/sample-config.dat", "--templates",
         SCRIBVANE_TEMPLATES_DIR, "--publish",
         "s3://letters/?endpoint=https://127.0.0.1:" + std::to_string(server.port())},
        {{"SCRIBVANE_PUBLISH_KEY_ID", "K"}, {"SCRIBVANE_PUBLISH_PASSWORD", "S"}}, status);
    ::unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(said.find("not known"), std::string::npos) << said;
    EXPECT_NE(said.find("refused the user name or password"), std::string::npos) << said;
}

TEST(PublishServers, S3ToS3rver) {
    const std::filesystem::path servers = SCRIBVANE_TEST_SERVERS_DIR;
    const auto program = servers / "node_modules/s3rver/bin/s3rver.js";
    if (!Installed("/usr/bin/node") || !std::filesystem::exists(program)) {
        GTEST_SKIP() << "node or the s3rver package is not installed; scripts/setup.sh installs "
                        "them (npm ci in tests/publishing/s3server)";
    }
    TempDir dir;
    Server server;
    server.port = testing::FreePort();
    server.address =
        "s3://letters/new dir/site/?endpoint=http://127.0.0.1:%PORT%&region=eu-central-1";
    // The server keeps an object's bytes in a file of its own beside the key's name.
    server.published = dir / "data/letters/new dir/site";
    server.suffix = "._S3rver_object";
    server.keepsPartialUploads = true;
    server.goodSecrets = {{"SCRIBVANE_PUBLISH_KEY_ID", "S3RVER"},
                          {"SCRIBVANE_PUBLISH_PASSWORD", "S3RVER"}};
    // The server checks the key id but not the SigV4 signature.
    server.badSecrets = {{"SCRIBVANE_PUBLISH_KEY_ID", "NOBODY"},
                         {"SCRIBVANE_PUBLISH_PASSWORD", "wrong"}};
    server.dropAfter = 9000;
    server.process = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/node", program.string(), "-d", (dir / "data").string(),
                                 "-a", "127.0.0.1", "-p", std::to_string(server.port),
                                 "--configure-bucket", "letters", "--silent"},
        dir / "s3rver.log");
    RunTable(server, Steps(false, false, false), dir);
}

} // namespace
} // namespace scribvane
