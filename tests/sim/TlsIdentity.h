// Server certificate of the test sensor: handed in by a test, or made at run time.
#pragma once

#include <openssl/types.h>

#include <string>

namespace fybsim {

struct TlsIdentity {
  std::string certificatePem;
  std::string privateKeyPem;

  // A fresh self-signed certificate (EC P-256, one day) for 127.0.0.1 and localhost.
  static TlsIdentity selfSigned(const std::string& commonName = "127.0.0.1");
};

// A TLS server context (TLS 1.2 at least) serving the identity; throws std::runtime_error.
// With requestClientCertificate the handshake asks for a client certificate and accepts any.
SSL_CTX* makeServerContext(const TlsIdentity& identity, bool requestClientCertificate);

}  // namespace fybsim
