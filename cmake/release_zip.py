#!/usr/bin/env python3
"""Writes the release zip, and its SHA-256 beside it, as a function of the
files alone: the build machine's clock, time zone, user, umask and paths
reach neither.

    release_zip.py ZIP FOLDER FILE...

Every FILE goes into the one folder FOLDER/ inside ZIP, in order of name,
with the mode 0644, no owner, no extra fields, deflated at level 9, and one
time for all: SOURCE_DATE_EPOCH (the commit's time, when the builder sets
it), else a fixed date. ZIP.sha256 gets the line "<hex>  <zip name>", as
sha256sum writes it.
"""
import hashlib
import os
import sys
import time
import zipfile

# 2026-01-01 00:00:00 UTC: the time of every entry unless the builder gives one.
FIXED_EPOCH = 1767225600
# Zip times start in 1980.
EARLIEST_ZIP_TIME = 315532800


def main(zip_path, folder, files):
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", FIXED_EPOCH))
    date_time = time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6]
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in sorted(files, key=os.path.basename):
            entry = zipfile.ZipInfo(folder + "/" + os.path.basename(path), date_time)
            entry.create_system = 3  # Unix, so the mode below is what unzip gives
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, zip_path)
    with open(zip_path, "rb") as made:
        digest = hashlib.sha256(made.read()).hexdigest()
    with open(zip_path + ".sha256", "w", newline="\n") as checksum:
        checksum.write(f"{digest}  {os.path.basename(zip_path)}\n")
    print(f"{os.path.basename(zip_path)}: SHA-256 {digest}")


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
