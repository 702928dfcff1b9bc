-- The orders of the customer book, for the data-entry form OrderEntry.dfm.
-- Rebuild the database with:  rm -f orders.db && sqlite3 orders.db < orders.sql
CREATE TABLE orders (
  OrderNo   INTEGER PRIMARY KEY,
  CustNo    INTEGER NOT NULL,
  SaleDate  DATE,
  ShipDate  DATETIME,
  ShipVia   VARCHAR(20),
  Amount    CURRENCY,
  Paid      BOOLEAN,
  Notes     TEXT
);
INSERT INTO orders VALUES (1001, 1221, '1998-04-03', '1998-04-05 10:00:00', 'UPS', 1250.50, 1, NULL);
INSERT INTO orders VALUES (1002, 1231, '1998-04-07', NULL, 'Post', 89.90, 0, 'call first');
INSERT INTO orders VALUES (1003, 1221, '1998-05-12', '1998-05-13 16:30:00', 'Courier', 410.00, 1, NULL);
