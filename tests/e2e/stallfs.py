#!/usr/bin/python3
"""A file system of one file that stalls on demand, as a share whose server
has gone away does.

    stallfs.py FILE MOUNTPOINT GATE

serves FILE, read-only, as the one file in MOUNTPOINT and runs until it is
unmounted. While a file named GATE exists, every look-up of the served file
waits until GATE is removed: the first thing a program does with a file, asking
for its attributes, blocks there. The kernel is told to cache no attributes, so
every look-up comes here. Mounting needs /dev/fuse and root, or fusermount.
"""
import errno
import os
import stat
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class StallingFile(Operations):
    def __init__(self, source, gate):
        with open(source, 'rb') as file:
            self.data = file.read()
        self.name = '/' + os.path.basename(source)
        self.gate = gate

    def getattr(self, path, fh=None):
        now = time.time()
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        if path != self.name:
            raise FuseOSError(errno.ENOENT)
        while os.path.exists(self.gate):
            time.sleep(0.05)
        return dict(st_mode=stat.S_IFREG | 0o755, st_nlink=1, st_size=len(self.data),
                    st_ctime=now, st_mtime=now, st_atime=now)

    def readdir(self, path, fh):
        return ['.', '..', self.name[1:]]

    def open(self, path, flags):
        return 0

    def read(self, path, size, offset, fh):
        return self.data[offset:offset + size]


if __name__ == '__main__':
    source, mountpoint, gate = sys.argv[1:4]
    FUSE(StallingFile(source, gate), mountpoint, foreground=True, nothreads=False, ro=True,
         attr_timeout=0, entry_timeout=0)
