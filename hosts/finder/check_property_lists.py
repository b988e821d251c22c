#!/usr/bin/env python3
"""Checks the extension's and the sample host's property lists and the
extension's entitlements as the target platform reads them.

  check_property_lists.py EXTENSION_PLIST HOST_PLIST ENTITLEMENTS HOST_BUNDLE_ID PRINCIPAL_SOURCE

Prints one line per fault and exits 1 when there is any.
"""
import plistlib
import re
import sys


def main(extension_plist, host_plist, entitlements_plist, host_id, principal_source):
    faults = []

    def expect(what, actual, wanted):
        if actual != wanted:
            faults.append(f"{what} is {actual!r}, not {wanted!r}")

    with open(extension_plist, "rb") as f:
        info = plistlib.load(f)
    extension = info.get("NSExtension", {})
    expect("NSExtensionPointIdentifier", extension.get("NSExtensionPointIdentifier"),
           "com.apple.FinderSync")
    with open(principal_source) as f:
        compiled = re.findall(r"^@implementation\s+(\w+)", f.read(), re.M)
    if extension.get("NSExtensionPrincipalClass") not in compiled:
        faults.append(f"NSExtensionPrincipalClass {extension.get('NSExtensionPrincipalClass')!r}"
                      f" is not the class compiled ({', '.join(compiled)})")
    expect("CFBundlePackageType", info.get("CFBundlePackageType"), "XPC!")
    expect("LSMinimumSystemVersion", info.get("LSMinimumSystemVersion"), "11.0")
    # An embedded extension's identifier is the host's, a dot, and more.
    identifier = info.get("CFBundleIdentifier", "")
    if not identifier.startswith(host_id + ".") or identifier == host_id + ".":
        faults.append(f"the extension's identifier {identifier!r} is not below {host_id!r}")

    with open(host_plist, "rb") as f:
        host = plistlib.load(f)
    expect("the host's CFBundleIdentifier", host.get("CFBundleIdentifier"), host_id)
    schemes = [s for t in host.get("CFBundleURLTypes", []) for s in t.get("CFBundleURLSchemes", [])]
    expect("the host's URL schemes", schemes, ["vandrel"])

    with open(entitlements_plist, "rb") as f:
        entitlements = plistlib.load(f)
    home = "com.apple.security.temporary-exception.files.home-relative-path.read-write"
    expect("the entitlements", entitlements, {
        "com.apple.security.app-sandbox": True,
        home: [f"/Library/Application Support/{host_id}/FinderSync/"],
    })

    for fault in faults:
        print(f"check_property_lists: {fault}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
