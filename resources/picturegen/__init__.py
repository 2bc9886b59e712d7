"""Procedural renderers for Tilora's picture resources (see make_pictures.py)."""
