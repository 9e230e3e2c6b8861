// Certificates for HTTPS servers on the loopback address: a CA, a server certificate it signed
// for 127.0.0.1 and localhost, a self-signed one for the same names, and one the CA signed for
// another host only. Keys are P-256, so making them costs milliseconds. Used by the test harness
// and by the demo platform service, which makes a fresh set each time it starts.
#pragma once

#include <string>

namespace qv::tools {

struct PemFiles {
  std::string certificate;  // path of the PEM certificate
  std::string private_key;  // path of the PEM private key
};

struct LoopbackPki {
  std::string ca_certificate;  // the CA to trust (PEM)
  PemFiles server;             // signed by the CA; subjectAltName IP:127.0.0.1, DNS:localhost
  PemFiles self_signed;        // not signed by the CA; same names
  PemFiles wrong_host;         // signed by the CA; subjectAltName DNS:wrong-host.invalid only
};

// Writes every file ("ca.pem", "server.pem"/".key", "self-signed.pem"/".key",
// "wrong-host.pem"/".key") into `folder` (which must exist), replacing earlier ones. The
// certificates are valid from an hour ago for `valid_days`. Throws std::runtime_error on failure.
LoopbackPki MakeLoopbackPki(const std::string& folder, int valid_days = 7);

}  // namespace qv::tools
