#!/usr/bin/env python3
"""Signs what the update server hands out, with the release private key.

    tools/sign-release INSTALLER --version 2.1 --url https://update.example/tg/
                       [--key PEM] [--out DIR] [--holidays FILE]

writes DIR/version.txt for the installer (Version, DownUrl, DownName, Sha256
and a last line Signature=<hex> over every byte before it, GBK, CR LF) and,
with --holidays, DIR/holidays.txt and its detached signature
DIR/holidays.txt.sig (the hexadecimal digits and a line end). DIR then holds
what the server's "/tg/" serves beside the installer.

A signature is ECDSA P-256 over SHA-256, written as the 64 bytes r || s in
hexadecimal. The key defaults to the test key pair a build without a release
key makes (build/release-key/private.pem); a real release names its own key,
kept outside the repository.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
# The build tree's test key pair (TORVANE_TEST_KEY_DIR of CMake).
TEST_KEY = Path(os.environ.get("TORVANE_BUILD", ROOT / "build")) / "release-key" / "private.pem"
COORDINATE_BYTES = 32


def _der_integer(der, at):
    if der[at] != 0x02:
        raise ValueError("not a DER integer")
    length = der[at + 1]
    value = der[at + 2:at + 2 + length]
    return int.from_bytes(value, "big"), at + 2 + length


def raw_signature(der):
    """r || s of a DER ECDSA signature (SEQUENCE of two INTEGERs)."""
    if der[0] != 0x30:
        raise ValueError("not a DER sequence")
    at = 3 if der[1] & 0x80 else 2
    r, at = _der_integer(der, at)
    s, _ = _der_integer(der, at)
    return r.to_bytes(COORDINATE_BYTES, "big") + s.to_bytes(COORDINATE_BYTES, "big")


def sign(data, key=TEST_KEY):
    """The hexadecimal signature of `data` (bytes) by the private key at `key`."""
    with tempfile.TemporaryDirectory() as work:
        message = Path(work) / "message"
        message.write_bytes(data)
        der = subprocess.run(["openssl", "dgst", "-sha256", "-sign", str(key), str(message)],
                             check=True, capture_output=True).stdout
    return raw_signature(der).hex()


def signed_text(body, key=TEST_KEY):
    """`body` (bytes, ending in a line end) and its signature line."""
    if body and not body.endswith(b"\n"):
        body += b"\r\n"
    return body + b"Signature=" + sign(body, key).encode("ascii") + b"\r\n"


def version_body(version, url, name, sha256):
    lines = ["[Version]", f"Version={version}", f"DownUrl={url}", f"DownName={name}", f"Sha256={sha256}"]
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


def version_file(version, url, name, sha256, key=TEST_KEY):
    """The signed version file's bytes."""
    return signed_text(version_body(version, url, name, sha256), key)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("installer", type=Path)
    parser.add_argument("--version", required=True)
    parser.add_argument("--url", required=True,
                        help="the folder address the installer is served from, or its full address")
    parser.add_argument("--key", type=Path, default=TEST_KEY)
    parser.add_argument("--out", type=Path, default=Path("."))
    parser.add_argument("--holidays", type=Path)
    args = parser.parse_args()
    if not args.key.exists():
        sys.exit(f"sign-release: no private key at {args.key} (configure a build first, or give --key)")
    name = args.installer.name
    url = args.url if args.url.endswith(name) else args.url.rstrip("/") + "/" + name
    digest = hashlib.sha256(args.installer.read_bytes()).hexdigest()
    args.out.mkdir(parents=True, exist_ok=True)
    (args.out / "version.txt").write_bytes(version_file(args.version, url, name, digest, args.key))
    print(f"sign-release: {args.out / 'version.txt'} ({name}, {digest})")
    if args.holidays:
        text = args.holidays.read_bytes()
        if args.holidays.resolve() != (args.out / "holidays.txt").resolve():
            shutil.copyfile(args.holidays, args.out / "holidays.txt")
        (args.out / "holidays.txt.sig").write_text(sign(text, args.key) + "\n", encoding="ascii")
        print(f"sign-release: {args.out / 'holidays.txt'} and holidays.txt.sig")


if __name__ == "__main__":
    main()
